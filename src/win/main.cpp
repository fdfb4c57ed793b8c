#include "app/DesktopApp.h"

int main(int argc, char** argv) { return RunDesktop(argc, argv); }
