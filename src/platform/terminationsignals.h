#pragma once

// Turns SIGTERM, SIGINT and SIGHUP into a normal quit of the event loop, so that a system
// shutdown, a closed terminal or Ctrl+C saves the library as quitting from the menu does instead
// of ending the process with unsaved games. Call once, after the application object exists.
void quitOnTerminationSignals();
