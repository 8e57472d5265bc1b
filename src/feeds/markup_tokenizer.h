#pragma once
// A small tokenizer for the HTML fragments of item descriptions: text runs, the five
// character entities of its table, and element boundaries. Works byte-wise on code page 932
// text; a double-byte character is never taken for markup. Never fails on malformed markup.
#include <string>

namespace tw {

// Receives the tokens; each operation returns true to go on, false to stop the walk.
class CMarkupHandler {
 public:
  virtual ~CMarkupHandler() = default;
  virtual bool OnText(const std::string& text) = 0;
  // raw: "&name;" as written; decoded: its replacement, empty for a name outside the table.
  virtual bool OnEntity(const std::string& raw, const std::string& decoded) = 0;
  virtual bool OnStartElement(const std::string& name) = 0;
  virtual bool OnEndElement(const std::string& name) = 0;
};

// False when the handler stopped the walk, true otherwise.
bool Tokenize(const std::string& text, CMarkupHandler& handler);

// The replacement of an entity written "&name;" (case-insensitive): "<", ">", "&", "\"" or
// a blank for nbsp; empty for any other name.
std::string DecodeEntity(const std::string& raw);

// Which text of an item is parsed for keywords, and how: true when the description is empty
// and the encoded description is not, which then goes through the tokenizer; otherwise the
// description is parsed as plain text.
bool ParsesEncodedDescription(const std::string& description, const std::string& encoded);

}  // namespace tw
