// The editor boundary: the core's Shift-JIS (CP932) bytes with CR LF line ends on one side,
// the text control's Unicode text with "\n" line breaks on the other.
//
// EditorFromCp932 followed by Cp932FromEditor gives back every byte string unchanged.
// Bytes that are no CP932 character of their own (invalid bytes, lone lead bytes, codes
// that CP932 maps to a character with another preferred code, NUL, a LF without a CR
// before it) travel as private-use characters U+F700 + byte, which the control shows as
// boxes. Characters that CP932 cannot hold, typed or pasted, come out as '?'.
#pragma once

#include <string>
#include <string_view>

// The first of the 256 private-use characters that carry a raw byte.
inline constexpr wchar_t kByteEscapeBase = 0xF700;

// CP932 bytes to the control's text: CR LF becomes "\n"; a lone CR stays a CR.
std::wstring EditorFromCp932(std::string_view bytes);

// The control's text to CP932 bytes: "\n" becomes CR LF; a CR stays a CR.
std::string Cp932FromEditor(std::wstring_view text);
