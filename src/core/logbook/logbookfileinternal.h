// What the units that read, write and back up a logbook's file set share: the layout and the pending backups.
#pragma once

#include "common/fileset.h"
#include "common/result.h"
#include "common/strings.h"
#include "logbook/logbook.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace zorv::logbook {

namespace logbookfileinternal {

    /*
     * .log: header (u16 version 161, u32 headerLong, i16 dive count, u16 word A, u16 word B),
     * then each record field by field in DiveRecord order. Texts are short strings (a length
     * byte and the stored characters, no terminator). The profile block follows profileLength
     * when it is not 0: first byte, eight header words, profileExtra for nitrox and O2
     * computers, then the raw bytes, so profileLength counts 17 (19) bytes plus the raw part.
     *
     * .add: u32 594, u32 110, u32 count, then per dive the 550-byte ExtraBlock image and a
     * 300-byte trailer. Entries are matched to dives by position.
     */

    inline constexpr std::uint16_t kFormatVersion = 161;
    inline constexpr std::size_t kLogHeaderSize = 12;
    // A record without profile and with five empty texts.
    inline constexpr std::size_t kMinRecordSize = 52;
    inline constexpr std::size_t kProfileFixedSize = 17;
    inline constexpr std::size_t kExtraWordSize = 2;
    inline constexpr std::size_t kAddHeaderSize = 12;
    inline constexpr std::size_t kTrailerSize = 300;
    inline constexpr std::size_t kAddEntrySize = ExtraBlock::kSize + kTrailerSize;
    inline constexpr std::uint32_t kAddMagicA = 594;
    inline constexpr std::uint32_t kAddMagicB = 110;
    inline constexpr std::size_t kMaxFileDives = 32767;

    using common::Result;
    using common::Status;
    using common::StringId;

    inline Result failure(Status status, std::string message)
    {
        return Result::failure(status, std::move(message));
    }

    inline Result badFormat()
    {
        return failure(Status::BadFormat, std::string(common::str(StringId::BadFormat)));
    }

    inline bool carriesExtraWord(const ComputerInfo *info, std::uint8_t type)
    {
        return info != nullptr && info->carriesExtraWord(type);
    }

    // A load that found more than the header counted leaves the file set to be backed up
    // before the first save; what else it found goes to loadNotice().
    void markBackupPending(const common::LogbookPaths &set);
    void addNotice(const common::LogbookPaths &set, const std::string &notice);
    Result keepBackupIfPending(const common::LogbookPaths &set);

} // namespace logbookfileinternal

} // namespace zorv::logbook
