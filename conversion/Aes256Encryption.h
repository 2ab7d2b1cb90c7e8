#pragma once
// AES-256 encryption (revision 6) of a finished PDF, which the PDF library cannot write itself:
// the library makes the PDF unencrypted in memory, and WriteEncrypted re-writes it through
// libqpdf. Both the plain and the encrypted PDF stay in memory or go to the caller's `write`, so
// no unencrypted copy ever reaches a disk. Any thread; calls share nothing.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct Aes256Encryption {
    std::string ownerPassword; // not empty
    std::string userPassword;  // empty: the PDF opens without a password
    // The permitted actions as the PDF library's mask (HPDF_ENABLE_PRINT, _EDIT_ALL, _COPY);
    // none when everything is permitted.
    std::optional<unsigned> permissionMask;
};

// Hands the encrypted PDF made from `plainPdf` to `write` piece by piece, in order. Returns
// true when all of it was written. On false, `error` says why in one sentence, or is empty when
// `write` refused, whose caller knows its own reason.
bool WriteEncrypted(std::string_view plainPdf, const Aes256Encryption& encryption,
                    const std::function<bool(std::string_view)>& write, std::string& error);

// Revision 6 keys on at most the first 127 bytes of a password's UTF-8, and every reader cuts
// what is typed there, byte for byte: the password cut so, with which the whole password opens
// the PDF as well. Characters are taken as typed, without the SASLprep mapping, which the
// readers do not apply to what is typed either.
inline constexpr std::size_t kAes256PasswordBytes = 127;
std::string Aes256Password(std::string_view password);

// What the user should know about AES-256 passwords: one that is cut, and one that some
// readers refuse for its length. Empty when there is nothing to say.
std::vector<std::string> Aes256PasswordNotes(const std::string& ownerPassword, const std::string& userPassword);
