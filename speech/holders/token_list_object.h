// Holds a voice token collection.
#ifndef QUILLORN_SPEECH_HOLDERS_TOKEN_LIST_OBJECT_H_
#define QUILLORN_SPEECH_HOLDERS_TOKEN_LIST_OBJECT_H_

#include "speech/holders/object_holder.h"
#include "speech/platform/speech_objects.h"

namespace quillorn {

class TokenListObject : public ObjectHolder<TokenCollection> {
 public:
  int GetCount() const {
    return Call([](TokenCollection& c) { return WholeNumber(c.Count()); }, 0);
  }
  // From 0; no object outside the collection.
  TokenRef Item(int index) const {
    return Call([&](TokenCollection& c) { return c.Item(index); }, TokenRef());
  }
};

}  // namespace quillorn

#endif  // QUILLORN_SPEECH_HOLDERS_TOKEN_LIST_OBJECT_H_
