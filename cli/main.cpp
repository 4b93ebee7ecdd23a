// The velkar executable.
#include "cli/Main.h"

int main(int argc, char** argv) { return velkar::cli::Main(argc, argv); }
