#pragma once

class SiteServer;

// The photo server's folder on the stand-in: name + ".jpg" is a station photo and
// name + "-tb.jpg" its thumbnail, for every image name of the station database. Five
// more names answer with the faults a download must survive:
//   fault-notfound.jpg  404 Not Found
//   fault-error.jpg     500 Internal Server Error
//   fault-notimage.jpg  200 with a text that is not a picture
//   fault-empty.jpg     200 with an empty body
//   fault-slow.jpg      200 with a picture sent in pieces; ?pieces=N&interval=MS (8, 200)
namespace PhotosRoutes {

inline constexpr const char* Folder =
    "/transportation/refdata/roadway/traffic_counts/Stradex/images/";

void add(SiteServer& server);

} // namespace PhotosRoutes
