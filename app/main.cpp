// Hands control to the application object.
#include <cstdio>

int main(int argc, char** argv) {
  std::puts("Pictavo");
  return 0;
}
