#include "logbook/valuelist.h"
#include "logbooktestdives.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zorv::logbook {
namespace {

    using test::texts;
    using test::Texts;

    TEST(ValueList, CountsDistinctDisplayTextsUpToItsCapacity)
    {
        ValueList list;
        list.size(2);
        EXPECT_EQ(list.capacity(), 102);
        list.add("Nice");
        list.add("");
        list.add("Nice");
        list.add(std::string("\x81") + "ber");
        // 0xFC is not a stored code, so it shows as ü too and meets the entry above.
        list.add(std::string("\xFC") + "ber");
        EXPECT_EQ(texts(list), (Texts { "Nice", "über" }));
        EXPECT_EQ(list.useCount(0), 2);
        EXPECT_EQ(list.useCount(1), 2);
        EXPECT_EQ(list.get(2), "");
        EXPECT_EQ(list.get(-1), "");

        for (int i = 0; i < 200; ++i)
            list.add("site " + std::to_string(i));
        EXPECT_EQ(list.count(), 102);
        list.add("Nice"); // a full list takes nothing, not even a known text
        EXPECT_EQ(list.useCount(0), 2);

        list.clear();
        list.add("Nice");
        EXPECT_EQ(list.count(), 0);
    }

} // namespace
} // namespace zorv::logbook
