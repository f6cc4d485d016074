// Matching a token against attributes written as "Name=value;Name=value".
#ifndef QUILLORN_SPEECH_PLATFORM_TOKEN_ATTRIBUTES_H_
#define QUILLORN_SPEECH_PLATFORM_TOKEN_ATTRIBUTES_H_

#include <string_view>

#include "speech/platform/speech_objects.h"

namespace quillorn {

// True when every named attribute of the token has that value, ASCII case ignored; a part without
// "=" asks only that the attribute is not empty, and a language also matches its dialects
// ("Language=en" matches "en-gb"). An empty text matches every token.
bool MatchesTokenAttributes(const Token& token, std::string_view attributes);

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_PLATFORM_TOKEN_ATTRIBUTES_H_
