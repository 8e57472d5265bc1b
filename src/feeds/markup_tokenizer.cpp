#include "feeds/markup_tokenizer.h"

#include <cstring>

#include "framework/text.h"

namespace tw {
namespace {

bool IsAsciiAlpha(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool EqualsIgnoringCase(const std::string& a, const char* b) {
  size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

enum class State { kText, kEntity, kTag, kEndTag, kEndTagSpace, kAttributes, kQuoted };

class CTokenizer {
 public:
  CTokenizer(const std::string& in, CMarkupHandler& handler) : in_(in), handler_(handler) {}

  bool Run() {
    size_t i = 0;
    while (i < in_.size()) {
      auto c = static_cast<unsigned char>(in_[i]);
      size_t width = IsLeadByte932(c) && i + 1 < in_.size() ? 2 : 1;
      bool ok = width == 2 ? OnPair(i) : OnByte(c, i);
      if (!ok) return false;
      i += width;
    }
    return Finish();
  }

 private:
  // A double-byte character: text in TEXT and in a tag name, never markup.
  bool OnPair(size_t i) {
    switch (state_) {
      case State::kEntity:  // not an entity after all
        FlushEntityAsText();
        state_ = State::kText;
        [[fallthrough]];
      case State::kText:
      case State::kTag:
      case State::kEndTag:
        text_.append(in_, i, 2);
        break;
      default:  // attributes, quoted values and the tail of an end tag are dropped
        break;
    }
    return true;
  }

  bool OnByte(unsigned char c, size_t& i) {
    switch (state_) {
      case State::kText:
        return InText(c);
      case State::kEntity:
        return InEntity(c);
      case State::kTag:
        return InTag(c, i);
      case State::kEndTag:
        if (IsAsciiSpace(c)) {
          state_ = State::kEndTagSpace;
        } else if (c == '>') {
          return EndTag();
        } else {
          text_ += static_cast<char>(c);
        }
        return true;
      case State::kEndTagSpace:
        return c == '>' ? EndTag() : true;
      case State::kAttributes:
        if (c == '"') {
          text_.clear();
          state_ = State::kQuoted;
        } else if (c == '>') {
          text_.clear();
          state_ = State::kText;
        } else if (c == '/' && Next(i) == '>') {
          ++i;
          text_.clear();
          state_ = State::kText;
          return handler_.OnEndElement(name_);
        }
        return true;
      case State::kQuoted:
        if (c == '"') state_ = State::kAttributes;
        return true;
    }
    return true;
  }

  bool InText(unsigned char c) {
    if (c == '<') {
      bool ok = FlushText();
      state_ = State::kTag;
      return ok;
    }
    if (c == '&') {
      entity_ = "&";
      state_ = State::kEntity;
      return true;
    }
    text_ += static_cast<char>(c);
    return true;
  }

  bool InEntity(unsigned char c) {
    if (IsAsciiAlpha(c)) {
      entity_ += static_cast<char>(c);
      return true;
    }
    if (c == ';') {
      entity_ += ';';
      state_ = State::kText;
      if (!FlushText()) return false;
      std::string raw = std::move(entity_);
      entity_.clear();
      return handler_.OnEntity(raw, DecodeEntity(raw));
    }
    // Not an entity: what was collected is text. "<" and "&" keep their meaning, so that
    // "R&D<br>" still has its tag; any other character joins the text.
    FlushEntityAsText();
    state_ = State::kText;
    if (c == '<' || c == '&') return InText(c);
    text_ += static_cast<char>(c);
    return true;
  }

  bool InTag(unsigned char c, size_t& i) {
    if (IsAsciiSpace(c)) {
      name_ = text_;
      text_.clear();
      state_ = State::kAttributes;
      return handler_.OnStartElement(name_);
    }
    if (c == '>') {
      std::string name = std::move(text_);
      text_.clear();
      state_ = State::kText;
      return handler_.OnStartElement(name);
    }
    if (c == '/') {
      if (text_.empty()) {
        state_ = State::kEndTag;
      } else if (Next(i) == '>') {  // <br/>
        ++i;
        std::string name = std::move(text_);
        text_.clear();
        state_ = State::kText;
        return handler_.OnStartElement(name) && handler_.OnEndElement(name);
      }
      return true;  // any other "/" is ignored
    }
    text_ += static_cast<char>(c);
    return true;
  }

  bool EndTag() {
    std::string name = std::move(text_);
    text_.clear();
    state_ = State::kText;
    return handler_.OnEndElement(name);
  }

  bool Finish() {
    if (state_ == State::kEntity) FlushEntityAsText();
    if (state_ == State::kText || state_ == State::kEntity) return FlushText();
    return true;  // a tag still open is dropped
  }

  bool FlushText() {
    if (text_.empty()) return true;
    std::string run = std::move(text_);
    text_.clear();
    return handler_.OnText(run);
  }

  void FlushEntityAsText() {
    text_ += entity_;
    entity_.clear();
  }

  char Next(size_t i) const { return i + 1 < in_.size() ? in_[i + 1] : '\0'; }

  const std::string& in_;
  CMarkupHandler& handler_;
  State state_ = State::kText;
  std::string text_;    // text run, or the name of the tag being read
  std::string entity_;  // "&name" so far
  std::string name_;    // start tag name kept for "/>" after attributes
};

}  // namespace

bool Tokenize(const std::string& text, CMarkupHandler& handler) {
  return CTokenizer(text, handler).Run();
}

std::string DecodeEntity(const std::string& raw) {
  static const struct {
    const char* raw;
    const char* decoded;
  } kEntities[] = {{"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}, {"&quot;", "\""}, {"&nbsp;", " "}};
  for (const auto& e : kEntities) {
    if (EqualsIgnoringCase(raw, e.raw)) return e.decoded;
  }
  return {};
}

bool ParsesEncodedDescription(const std::string& description, const std::string& encoded) {
  return description.empty() && !encoded.empty();
}

}  // namespace tw
