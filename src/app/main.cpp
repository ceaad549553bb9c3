// huxing: the floor-plan designer. One optional argument: a plan to open.
#include "Startup.h"

int main(int argc, char** argv) { return RunDesigner(argc, argv); }
