#pragma once

class SiteServer;

// The map of the report server and of the map providers: the remote map script
// "/zarnweb/Report/zarnmap.js", the three provider API scripts, and the Leaflet files
// that draw the map.
namespace MapRoutes {
void add(SiteServer& server);

// Where the Leaflet files are served.
constexpr const char* LeafletFolder = "/lib/leaflet/";
} // namespace MapRoutes
