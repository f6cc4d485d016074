// Holds one voice token.
#ifndef QUILLORN_SPEECH_HOLDERS_TOKEN_OBJECT_H_
#define QUILLORN_SPEECH_HOLDERS_TOKEN_OBJECT_H_

#include <string_view>

#include "speech/holders/object_holder.h"
#include "speech/platform/speech_objects.h"

namespace quillorn {

class TokenObject : public ObjectHolder<Token> {
 public:
  Text GetId() const {
    return Call([](Token& t) { return t.Id(); }, Text());
  }
  ObjectRef GetCategory() const {
    return Call([](Token& t) { return t.Category(); }, ObjectRef());
  }
  Text GetDescription(int locale = 0) const {
    return Call([&](Token& t) { return t.Description(locale); }, Text());
  }
  Text GetAttribute(std::string_view name) const {
    return Call([&](Token& t) { return t.Attribute(name); }, Text());
  }
  ObjectRef CreateInstance(const ObjectRef& outer, int context) const {
    return Call([&](Token& t) { return t.CreateInstance(outer, context); }, ObjectRef());
  }
  bool MatchesAttributes(std::string_view attributes) const {
    return Call([&](Token& t) { return t.MatchesAttributes(attributes); }, false);
  }
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_HOLDERS_TOKEN_OBJECT_H_
