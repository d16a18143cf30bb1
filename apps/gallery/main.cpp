// qel-gallery: shows every component live. Until the window shell exists it renders the
// canvas demonstration page to PNG.
#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  std::string dir = "out/gallery";
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) dir = argv[++i];
  std::printf("qel-gallery: nothing to show yet (%s)\n", dir.c_str());
  return 0;
}
