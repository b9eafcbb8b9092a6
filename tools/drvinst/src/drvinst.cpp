#include <cstdio>

int main(int argc, char** argv)
{
    std::fprintf(stderr, "drvinst.exe: not yet able to manage the driver\n");
    return 1;
}
