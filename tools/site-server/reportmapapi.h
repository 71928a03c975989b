#pragma once

class SiteServer;

// Serves the map script that HTML reports and their station location page load from the
// map host: "/maps" (the query, such as "file=api&v=2.x&key=...", is not needed) answers
// with Leaflet followed by this project's map API script, and "/maps/leaflet.css" with
// Leaflet's style sheet.
void addReportMapApiRoutes(SiteServer& server);
