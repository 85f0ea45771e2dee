#include <iostream>

#include "CardTool.h"

int main(int argc, char** argv) {
  return wenlock::cardtool::RunCardTool(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                        std::cerr);
}
