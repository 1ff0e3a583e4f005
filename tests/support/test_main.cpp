// Every test process opens COM as the program does and holds the one imaging
// factory, so tests exercise the same imaging objects the program uses.
#include <gtest/gtest.h>

#include <objbase.h>

#include "convert/imaging.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    if (FAILED(createImagingFactory())) return 3;
    const int result = RUN_ALL_TESTS();
    releaseImagingFactory();
    CoUninitialize();
    return result;
}
