#include "speech/platform/token_attributes.h"

#include "text/operations.h"

namespace quillorn {

bool MatchesTokenAttributes(const Token& token, std::string_view attributes) {
  for (const Text& part : Split(attributes, ";")) {
    const Text trimmed = Trim(part);
    if (trimmed.empty()) continue;
    const int equals = Find(trimmed, "=");
    const Text name =
        Trim(LeftPart(trimmed, equals == -1 ? static_cast<int>(trimmed.size()) : equals - 1));
    const Text have = LowerCase(token.Attribute(name));
    if (equals == -1) {
      if (have.empty()) return false;
      continue;
    }
    const Text want =
        LowerCase(Trim(MiddlePart(trimmed, equals + 1, static_cast<int>(trimmed.size()))));
    const bool languagePrefix = LowerCase(name) == "language" && have.starts_with(want + "-");
    if (have != want && !languagePrefix) return false;
  }
  return true;
}

}  // namespace quillorn
