#pragma once
// File names and messages as quillary-convert prints them on a terminal. A name is bytes: one
// with a line end could forge a line of the report ("1 converted"), and one with an escape
// sequence could drive the terminal. Such names are quoted as GNU tools quote them for a shell
// (ls --quoting-style=shell-escape): 'a'$'\n''b'. Names without such characters, which is
// nearly all of them, are printed as they are.
#include <string>
#include <string_view>

// `name` as it stands when every character of it is printable UTF-8; else quoted in the shell's
// syntax, each control character and each byte that is not UTF-8 written as $'\n' or $'\377',
// so that pasting it into a shell names the same file.
std::string ShellQuoted(std::string_view name);

// `text` with each control character and each byte that is not UTF-8 written as an escape
// (\n, \t, \033, \377), for messages that carry a name inside their words.
std::string EscapedControls(std::string_view text);
