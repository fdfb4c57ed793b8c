#pragma once

class QApplication;

// Start-up and exit of the desktop program: directories, settings, the
// German translation of the standard buttons, the main window, and the
// settings written back at the end. Returns the exit code.
int RunDesktop(int argc, char** argv);

// The parts of start-up that the tests share: the application-wide seams
// (message boxes, clipboard), the translation and the display resources.
void InitDesktopServices(QApplication& app);
