#pragma once

#include "app/webupdate.h"

struct Config;
class MessageSink;

// The program's share of the update check: the component's settings, and the one
// outcome that the program reports itself.

// "You have the latest version of Stradex"
extern const char* const LatestVersionMessage;

// The update component's settings: the control file on the report server, the agent
// "TWebUpdate" and the running program's version.
WebUpdate::Settings updateCheckSettings(const Config& config);

// The status handler's rule: an information box for every "no new version" report
// (status code 4), nothing for any other code.
void showUpdateStatus(MessageSink& messages, int statusCode);
