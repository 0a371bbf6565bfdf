// Tenmirel, the desktop program: predicts the extrema of variable stars.
#include "ui/desktop_program.h"

int main(int argc, char** argv) { return tenmirel::ui::runDesktopProgram(argc, argv); }
