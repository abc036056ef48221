// Mirvane: chronological contact sheets from a built-in archive or Quillmere pair files.
#include "shell/startup.h"

int main(int argc, char** argv) {
    return mirvane::shell::RunMirvane(argc, argv);
}
