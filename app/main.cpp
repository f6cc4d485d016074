// Placeholder for the program until its main window exists: it says so and exits.
#include <cstdio>

int main() {
  std::puts(
      "Quillorn: the text and translation core is built; the main window is not built yet, "
      "so there is nothing to show.");
  return 0;
}
