// The default font set: one whose fonts cover every character set of the locale, or failing that
// as many as possible, and among equals the one with the smallest line height. The choice is
// stored as "XtDefaultFontSet" so that every widget created afterwards uses it.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Tries the configured "xtDefaultFontSet", the built-in pattern, then every listed 12-point
// font with its registry and encoding left open.
// Needs the toolkit's display to be open.
void ChooseDefaultFontSet();

// The lines that describe which character sets the best attempt missed; empty when nothing was
// missing. Read by the toolkit's warning handler.
[[nodiscard]] const std::vector<std::string>& FontDiagnostics() noexcept;

// A listed font name made into a search candidate: cut after its thirteenth "-" and ended with
// "*,*"; none for a name with fewer than thirteen.
[[nodiscard]] std::optional<std::string> FontSearchCandidate(const std::string& fontName);
