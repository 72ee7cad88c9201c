#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// Base64 with the standard alphabet and "=" padding, written as one run of
// characters without line breaks.
//
// The decoder follows the database reader's rule rather than RFC 4648: the
// text must be a whole number of 4-character groups, and every group on its
// own yields 1 byte when its third character is "=", otherwise 2 bytes when
// its fourth is "=", otherwise 3 bytes - padding in the middle of the text
// does not end it. Characters outside the alphabet count as the value 0.
namespace Base64 {

inline constexpr qsizetype encodedSize(qsizetype byteCount)
{
    return (byteCount + 2) / 3 * 4;
}

QByteArray encode(QByteArrayView bytes);
// Writes the encodedSize(bytes.size()) characters of bytes at out.
void encodeInto(char *out, QByteArrayView bytes);

// Replaces the bytes in buffer by their encoded text without a second buffer
// of the full size: the text is written back to front over the bytes.
void encodeInPlace(QByteArray &buffer);

// Decodes the text in buffer where it stands, in two halves at once when
// parts is 2 or more (one on the calling thread): the first half's bytes
// are written back to front so that they end where the second half's
// begin. Returns where in buffer the bytes stand, one run; nothing, with
// buffer untouched, when the length is not a multiple of 4.
std::optional<QByteArrayView> decodeWhereItStands(QByteArray &buffer, int parts);

} // namespace Base64
