// VornEditor's process entry.
#include "shell/Entry.h"

int main(int argc, char** argv) { return vorn::RunVornEditor(argc, argv); }
