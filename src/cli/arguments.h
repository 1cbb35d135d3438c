// The command line as Qt's parser sees it, and the way back from its strings to the file system's bytes.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

namespace zorv::cli {

/*
 * File names on Linux are bytes, and a name need not be UTF-8 ("caf\xe9.log" from a
 * Latin-1 system). Qt's own decoding turns such bytes into U+FFFD, after which the
 * name reaches another file or none. Here well-formed UTF-8 is decoded as usual and
 * every other byte b becomes the lone surrogate U+DC00 + b, which no UTF-8 text can
 * give, so localPath() restores the exact bytes from any argument or part of one.
 */
QStringList decodeArguments(int argc, char **argv);

// The bytes of a path (or any text) taken from the decoded command line.
std::string localPath(const QString &path);

// The same path as UTF-8 for messages and JSON: bytes that are not UTF-8 shown as "\xHH".
std::string shownPath(const QString &path);

// The whole of `text` as a decimal number from `low` to `high`: no blank, no '+', nothing after
// it, and the locale plays no part. Nothing for anything else.
std::optional<long long> wholeNumber(const QString &text, long long low, long long high);

} // namespace zorv::cli
