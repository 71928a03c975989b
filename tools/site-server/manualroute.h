#pragma once

class SiteServer;

// Serves the program's user manual as "/zarnweb/Report/Stradex.pdf".
void addManualRoute(SiteServer& server);
