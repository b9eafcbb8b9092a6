#include "VDMainSequence.h"

int main(int argc, char** argv) { return RunMainSequence(argc, argv); }
