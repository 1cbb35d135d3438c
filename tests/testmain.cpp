// Shared test main: pins the locale and time zone so results never depend on the machine.
#include <clocale>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    setenv("TZ", "UTC", 1);
    tzset();
    setenv("LC_ALL", "C", 1);
    std::setlocale(LC_ALL, "C");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
