// vornconv's entry point.
#include <iostream>

#include "vornconv/VornConv.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> args(argv + 1, argv + argc);
  return vorn::RunVornConv(args, std::cout, std::cerr);
}
