#pragma once
// "orvex --screenshot FILE" (internal, for scripts/screenshot): after start-up
// with the query bar filled, runs the query, opens the interface table, clicks
// the first interface's description so its row is inferred across the table,
// and saves the main window as a PNG.
#include <string>

class COrvexApp;

// app has run InitInstance. Returns 0 when the picture was saved, else 1 (with
// a line on standard error). Blocks for the whole query (at most a minute).
int RunScreenshot(COrvexApp& app, const std::string& strFile);
