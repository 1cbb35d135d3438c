#include "filebuilder.h"
#include "logbook/daynumber.h"
#include "registers/addresses.h"
#include "registers/certificates.h"
#include "registers/equipment.h"
#include "registers/forecast.h"
#include "registers/instructorrecord.h"
#include "registers/trips.h"
#include "testutil.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace zorv::registers {
namespace {

    using test::FileBuilder;
    using zorv::test::readFile;
    using zorv::test::TempDir;
    using zorv::test::writeFile;

    // Each file is laid out here from the format, every field different, so that a
    // field read from or written to the wrong offset shows.
    FileBuilder equipmentFile()
    {
        FileBuilder f;
        f.u16(100).u16(2);
        for (int i = 0; i < 2; ++i) {
            f.u8(static_cast<std::uint8_t>(3 + i))
                .text("Suunto Vyper", 61)
                .text("Anna", 21)
                .text("Tauchshop, 03.2001", 31)
                .text("1st stage", 31)
                .text("SN-1", 21)
                .text("2nd stage", 31)
                .text("SN-2", 21)
                .text("Details \xe9", 61) // a Windows-set byte
                .u16(4)
                .u16(2003)
                .u16(static_cast<std::uint16_t>(3 + i))
                .u16(2005)
                .f32(449.5f)
                .f32(60.25f)
                .text("Remarks", 61)
                .u8(static_cast<std::uint8_t>(i));
        }
        return f;
    }

    FileBuilder addressFile()
    {
        FileBuilder f;
        f.u16(100).u16(1);
        const std::pair<const char *, std::size_t> fields[] = { { "Anna", 31 }, { "Weber", 31 }, { "Dr.", 31 },
            { "Seestr. 4", 31 }, { "8000", 11 }, { "Z\x81rich", 31 }, { "CH", 31 }, { "01 234", 21 }, { "01 235", 21 },
            { "01 236", 21 }, { "079 1", 21 }, { "anna@example.ch", 51 }, { "example.ch", 81 }, { "Buddy", 81 } };
        for (const auto &[text, size] : fields)
            f.text(text, size);
        return f;
    }

    FileBuilder tripFile()
    {
        FileBuilder f;
        f.u16(1).f32(2.0f);
        f.u32(logbook::dayNumber(1, 6, 2004))
            .u32(logbook::dayNumber(14, 6, 2004))
            .u32(12)
            .u32(20)
            .text("Sinai", 61)
            .text("Ras Mohammed", 579);
        return f;
    }

    FileBuilder teachingFile()
    {
        FileBuilder f;
        f.u16(110).u16(1);
        f.text("OWD Kurs", 64)
            .u32(logbook::dayNumber(3, 5, 2004))
            .u32(logbook::dayNumber(9, 5, 2004))
            .u32(4)
            .u32(6)
            .u32(static_cast<std::uint32_t>(-3))
            .text("Lac", 64);
        return f;
    }

    FileBuilder certificateFile()
    {
        FileBuilder f;
        f.u16(100).u16(1).text("Anna Weber", 61).text("TC Z\x81rich", 61);
        f.text("CMAS", 16)
            .text("Plongeur **", 61)
            .u32(logbook::dayNumber(5, 3, 2004))
            .text("Hans", 31)
            .f32(120.5f)
            .text("Lac", 61);
        return f;
    }

    FileBuilder journalFile()
    {
        FileBuilder f;
        f.u16(2).u16(0);
        f.u32(logbook::dayNumber(5, 3, 2004))
            .text("Calcul", 50)
            .u32(0)
            .text("   100 plong\x82"
                  "es",
                50);
        return f;
    }

    // Reads a file built from the layout and writes it back: the bytes must not move.
    struct RoundTrip {
        const char *name;
        std::function<FileBuilder()> build;
        std::function<bool(const std::vector<std::uint8_t> &, std::vector<std::uint8_t> &)> readWrite;
    };

    template <typename Parse, typename Write> auto readWriteWith(Parse parse, Write write)
    {
        return [parse, write](const std::vector<std::uint8_t> &in, std::vector<std::uint8_t> &out) {
            auto value = parse(in, "f");
            if (!value)
                return false;
            out = write(*value);
            return true;
        };
    }

    TEST(RegisterFiles, HandBuiltFilesRoundTripByteForByte)
    {
        const RoundTrip cases[] = {
            { "equipment", equipmentFile, readWriteWith(parseEquipment, equipmentBytes) },
            { "addresses", addressFile, readWriteWith(parseAddresses, addressBytes) },
            { "trips", tripFile, readWriteWith(parseTrips, tripBytes) },
            { "teaching", teachingFile, readWriteWith(parseTeaching, teachingBytes) },
            { "certificates", certificateFile, readWriteWith(parseCertificates, certificateBytes) },
            { "journal", journalFile, readWriteWith(parseJournal, journalBytes) },
        };
        for (const RoundTrip &c : cases) {
            SCOPED_TRACE(c.name);
            const std::vector<std::uint8_t> in = c.build().bytes;
            std::vector<std::uint8_t> out;
            ASSERT_TRUE(c.readWrite(in, out));
            EXPECT_EQ(out, in);
        }
    }

    TEST(RegisterFiles, FieldsLandWhereTheLayoutPutsThem)
    {
        const auto items = parseEquipment(equipmentFile().bytes, "f");
        ASSERT_TRUE(items);
        ASSERT_EQ(items->size(), 2u);
        const EquipmentItem &second = (*items)[1];
        EXPECT_EQ(second.category, 4);
        EXPECT_EQ(second.serialNumber2, "SN-2");
        EXPECT_EQ(second.details, "Details \xe9");
        EXPECT_EQ(second.nextServiceMonth, 4);
        EXPECT_EQ(second.nextServiceYear, 2005);
        EXPECT_FLOAT_EQ(second.serviceCost, 60.25f);
        EXPECT_TRUE(second.remind);
        EXPECT_EQ(equipmentFile().bytes.size(), 4 + 2 * 357u);

        const auto addresses = parseAddresses(addressFile().bytes, "f");
        ASSERT_TRUE(addresses);
        EXPECT_EQ((*addresses)[0].remarks, "Buddy");
        EXPECT_EQ((*addresses)[0].postalCode, "8000");
        EXPECT_EQ(addressFile().bytes.size(), 4 + 494u);

        const auto teaching = parseTeaching(teachingFile().bytes, "f");
        ASSERT_TRUE(teaching);
        EXPECT_EQ((*teaching)[0].persons, -3);
        EXPECT_EQ((*teaching)[0].remarks, "Lac");

        const auto reg = parseCertificates(certificateFile().bytes, "f");
        ASSERT_TRUE(reg);
        EXPECT_EQ(reg->club, "TC Z\x81rich");
        EXPECT_EQ(reg->certificates[0].instructor, "Hans");
        EXPECT_FLOAT_EQ(reg->certificates[0].cost, 120.5f);
        EXPECT_FALSE(reg->fromLegacyLayout);
    }

    TEST(RegisterFiles, OverlongTextsAreCutToTheirBuffer)
    {
        EquipmentItem item;
        item.article = std::string(100, 'a');
        item.category = 99;
        const auto back = parseEquipment(equipmentBytes({ item }), "f");
        ASSERT_TRUE(back);
        EXPECT_EQ((*back)[0].article, std::string(60, 'a'));
        EXPECT_EQ((*back)[0].category, kOtherCategory);
        EXPECT_EQ(equipmentCategoryName(99), "Autres");
    }

    TEST(RegisterFiles, TripsWithoutTheMarkAreTheOlderLayout)
    {
        FileBuilder old;
        old.u16(2);
        for (int i = 0; i < 2; ++i)
            old.u32(logbook::dayNumber(1 + i, 7, 1998))
                .u32(logbook::dayNumber(9, 7, 1998))
                .u32(static_cast<std::uint32_t>(5 + i))
                .u32(9)
                .text("Elba", 61)
                .text(std::string(154, 'r'), 155);
        const auto trips = parseTrips(old.bytes, "f");
        ASSERT_TRUE(trips);
        ASSERT_EQ(trips->size(), 2u);
        EXPECT_EQ((*trips)[1].firstDive, 6);
        EXPECT_EQ((*trips)[1].remarks, std::string(154, 'r'));
        EXPECT_EQ((*trips)[1].destination, "Elba");
        // Written in the new form, which reads back the same.
        const auto bytes = tripBytes(*trips);
        EXPECT_EQ(bytes.size(), 6 + 2 * 656u);
        EXPECT_EQ(*parseTrips(bytes, "f"), *trips);
    }

    TEST(RegisterFiles, OlderCertificateLayoutIsConvertedAndKeptOnSave)
    {
        FileBuilder old;
        old.u16(1);
        old.text("Plongeur *", 20).u32(logbook::dayNumber(1, 5, 1990)).f32(80.0f);
        old.text("", 20).u32(0).f32(0.0f); // unused
        old.text("Nitrox", 20).u32(logbook::dayNumber(2, 6, 1995)).f32(35.5f);
        for (int i = 3; i < 34; ++i)
            old.text("", 20).u32(0).f32(0.0f);
        old.text("Anna", 61).text("Club", 61).text("", 322);
        ASSERT_EQ(old.bytes.size(), 1398u);

        TempDir dir;
        const auto path = dir / "dives.inf";
        writeFile(path, old.str());
        auto reg = loadCertificates(path);
        ASSERT_TRUE(reg);
        EXPECT_TRUE(reg->fromLegacyLayout);
        ASSERT_EQ(reg->certificates.size(), 2u);
        EXPECT_EQ(reg->certificates[1].description, "Nitrox");
        EXPECT_FLOAT_EQ(reg->certificates[1].cost, 35.5f);
        EXPECT_EQ(reg->diverName, "Anna");
        EXPECT_EQ(reg->club, "Club");
        // Reading changed nothing on disk.
        EXPECT_EQ(readFile(path), old.str());

        ASSERT_TRUE(saveCertificates(path, *reg));
        EXPECT_FALSE(reg->fromLegacyLayout);
        EXPECT_EQ(readFile(legacyBackupPath(path)), old.str());
        EXPECT_EQ(legacyBackupPath(path).filename(), "dives.inf.bak");
        const auto again = loadCertificates(path);
        ASSERT_TRUE(again);
        EXPECT_EQ(again->certificates, reg->certificates);
        EXPECT_FALSE(again->fromLegacyLayout);
    }

    // The damaged and unknown files every reader must refuse, naming the file.
    TEST(RegisterFiles, DamagedFilesAreRefusedAndLeftAlone)
    {
        const auto truncate = [](FileBuilder f) {
            f.bytes.pop_back();
            return f.bytes;
        };
        const auto withWord = [](FileBuilder f, std::uint16_t version) {
            f.bytes[0] = static_cast<std::uint8_t>(version);
            f.bytes[1] = static_cast<std::uint8_t>(version >> 8);
            return f.bytes;
        };
        struct Case {
            const char *name;
            std::vector<std::uint8_t> bytes;
            std::function<common::Result(const std::filesystem::path &)> load;
            const char *says;
        };
        const auto result = [](auto loader) {
            return [loader](const std::filesystem::path &p) -> common::Result {
                auto r = loader(p);
                return r ? common::Result::success() : r.result();
            };
        };
        const Case cases[] = {
            { "short equipment", truncate(equipmentFile()), result(loadEquipment), "endommagé" },
            { "equipment version", withWord(equipmentFile(), 101), result(loadEquipment), "version inconnue (101)" },
            { "one byte", { 7 }, result(loadEquipment), "endommagé" },
            { "short addresses", truncate(addressFile()), result(loadAddresses), "endommagé" },
            { "address version", withWord(addressFile(), 0), result(loadAddresses), "version inconnue (0)" },
            { "short trips", truncate(tripFile()), result(loadTrips), "endommagé" },
            { "short teaching", truncate(teachingFile()), result(loadTeaching), "endommagé" },
            { "teaching version", withWord(teachingFile(), 100), result(loadTeaching), "version inconnue" },
            { "short certificates", truncate(certificateFile()), result(loadCertificates), "endommagé" },
            { "certificate version", withWord(certificateFile(), 7), result(loadCertificates), "version inconnue (7)" },
            { "short journal", truncate(journalFile()), result(loadJournal), "endommagé" },
            { "journal index", withWord(journalFile(), 100), result(loadJournal), "endommagé" },
        };
        TempDir dir;
        for (const Case &c : cases) {
            SCOPED_TRACE(c.name);
            const auto path = dir / "register.dat";
            const std::string original(c.bytes.begin(), c.bytes.end());
            writeFile(path, original);
            const common::Result r = c.load(path);
            ASSERT_FALSE(r.ok());
            EXPECT_EQ(r.status(), common::Status::BadFormat);
            EXPECT_NE(r.message().find(path.string()), std::string::npos) << r.message();
            EXPECT_NE(r.message().find(c.says), std::string::npos) << r.message();
            EXPECT_EQ(readFile(path), original);
        }
    }

    TEST(RegisterFiles, MissingOrEmptyFilesAreEmptyRegisters)
    {
        TempDir dir;
        auto missing = loadEquipment(dir / "none.dat");
        ASSERT_TRUE(missing);
        EXPECT_TRUE(missing->empty());
        auto noPath = loadCertificates("");
        ASSERT_TRUE(noPath);
        EXPECT_TRUE(noPath->diverName.empty());
        writeFile(dir / "empty.trp", "");
        auto empty = loadTrips(dir / "empty.trp");
        ASSERT_TRUE(empty);
        EXPECT_TRUE(empty->empty());
        // A folder where the file should be is refused, not read as nothing.
        std::filesystem::create_directory(dir / "folder.adr");
        EXPECT_FALSE(loadAddresses(dir / "folder.adr"));
    }

    // Printed page headers: the stored DOS texts in UTF-8, or nothing when there is no register to read.
    TEST(RegisterFiles, DiverLinesForPrintedPages)
    {
        TempDir dir;
        std::vector<std::uint8_t> bytes = certificateFile().bytes;
        writeFile(dir / "diver.inf", std::string(bytes.begin(), bytes.end()));
        const DiverLines lines = diverLines(dir / "diver.inf");
        EXPECT_EQ(lines.name, "Anna Weber");
        EXPECT_EQ(lines.club, "TC Zürich");
        EXPECT_TRUE(diverLines(dir / "none.inf").name.empty());
        EXPECT_TRUE(diverLines("").club.empty());
        bytes.pop_back();
        writeFile(dir / "short.inf", std::string(bytes.begin(), bytes.end()));
        EXPECT_TRUE(diverLines(dir / "short.inf").name.empty());
    }

    TEST(RegisterFiles, SavesReplaceTheFileWhole)
    {
        TempDir dir;
        const auto path = dir / "gear.dat";
        writeFile(path, equipmentFile().str());
        auto items = loadEquipment(path);
        ASSERT_TRUE(items);
        items->pop_back();
        ASSERT_TRUE(saveEquipment(path, *items));
        EXPECT_EQ(readFile(path).size(), 4 + 357u);
        // A save into a folder that does not exist fails and says so.
        const common::Result failed = saveAddresses(dir / "no" / "such.adr", {});
        EXPECT_FALSE(failed.ok());
        EXPECT_FALSE(failed.message().empty());
    }

} // namespace
} // namespace zorv::registers
