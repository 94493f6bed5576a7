#pragma once
// The text of a profile file ("[Section]" lines and "key=value" lines), read
// and changed in memory. Section and key names compare without regard to
// case and surrounding blanks; every other byte of the text is kept.
#include <optional>
#include <string>

namespace app {

// The value of the first matching key, blanks around it removed.
std::optional<std::string> FindProfileValue(const std::string& text, const std::string& section,
                                            const std::string& key);

// The text with the key set to value: an existing line is replaced, a new key
// goes after the section's last entry, a new section at the end of the text.
std::string SetProfileValue(const std::string& text, const std::string& section,
                            const std::string& key, const std::string& value);

// An integer value as the profile reader takes it: optional blanks and sign,
// then decimal digits up to the first other character; no digits gives 0,
// an empty value gives the default. Out-of-range values saturate.
int ParseProfileInt(const std::string& value, int defaultValue);

}  // namespace app
