#pragma once

// Makes sure the embedded report assets (":/report/<type>/<name>") are registered.
void registerReportResources();
