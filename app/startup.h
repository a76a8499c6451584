#ifndef LUMENO_STARTUP_H
#define LUMENO_STARTUP_H

class QWidget;

// Sets the identity under which every setting is stored, registers the types
// that cross from the loader thread and makes writes past a file-size limit
// fail instead of ending the process. Call right after the application
// object exists and before anything reads settings.
void prepareApplication();

// Runs the event loop and returns its result. An allocation failure that
// escapes it is turned into the "Out of memory" message and the status 2;
// the caller then tears the window down as usual, so settings are still
// written.
int runEventLoop();

// The "Out of memory" box, shown with no parent; returns once it is closed.
void showOutOfMemoryMessage();

#endif
