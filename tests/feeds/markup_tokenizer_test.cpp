#include "feeds/markup_tokenizer.h"

#include <gtest/gtest.h>

#include <string>

namespace tw {
namespace {

// Records the events as "t:text|", "e:raw=decoded|", "s:name|", "/:name|"; stops after
// stopAfter events when it is set.
class CRecorder : public CMarkupHandler {
 public:
  explicit CRecorder(int stopAfter = -1) : stopAfter_(stopAfter) {}
  bool OnText(const std::string& text) override { return Add("t:" + text); }
  bool OnEntity(const std::string& raw, const std::string& decoded) override {
    return Add("e:" + raw + "=" + decoded);
  }
  bool OnStartElement(const std::string& name) override { return Add("s:" + name); }
  bool OnEndElement(const std::string& name) override { return Add("/:" + name); }
  std::string events;

 private:
  bool Add(const std::string& event) {
    events += event + "|";
    return --stopAfter_ != 0;
  }
  int stopAfter_;
};

TEST(MarkupTokenizer, CutsTextEntitiesAndElements) {
  struct Case {
    std::string in;
    std::string events;
  } cases[] = {
      {"a &lt;b&gt; c", "t:a |e:&lt;=<|t:b|e:&gt;=>|t: c|"},
      {"&AMP;&nbsp;&Quot;", "e:&AMP;=&|e:&nbsp;= |e:&Quot;=\"|"},  // case-insensitive
      {"&sect;", "e:&sect;=|"},                                    // not in the table
      {"R&D", "t:R&D|"},
      {"&#38;x", "t:&#38;x|"},  // numeric references stay text
      {"&amp", "t:&amp|"},
      {"R&D<br>x", "t:R&D|s:br|t:x|"},  // an unfinished entity does not swallow a tag
      {"a&&amp;b", "t:a&|e:&amp;=&|t:b|"},
      {"<br/>text", "s:br|/:br|t:text|"},
      {"<br />text", "s:br|/:br|t:text|"},
      {"<p class=\"x\"/>", "s:p|/:p|"},
      {"<a href=\"x>y\">link</a>", "s:a|t:link|/:a|"},   // ">" quoted by double quotes
      {"<a href='x>y'>link</a>", "s:a|t:y'>link|/:a|"},  // but not by apostrophes
      {"</ p>", "/:|"},
      {"<a/b>", "s:ab|"},  // a "/" inside a name is ignored
      {"a > b", "t:a > b|"},
      {"x<b", "t:x|"},  // a tag still open at the end is dropped
      {"<日本>語</日本>", "s:日本|t:語|/:日本|"},
      {"\x83<b>x", "t:\x83<b>x|"},  // a trail byte of "<" never opens a tag
      {"&a\x83<b", "t:&a\x83<b|"},
      {"ab\x83", "t:ab\x83|"},  // a lead byte cut off at the end
      {"", ""},
  };
  for (const Case& c : cases) {
    CRecorder r;
    EXPECT_TRUE(Tokenize(c.in, r));
    EXPECT_EQ(r.events, c.events) << c.in;
  }
}

TEST(MarkupTokenizer, StopsWhenTheHandlerRefuses) {
  CRecorder r(2);
  EXPECT_FALSE(Tokenize("a<b>c</b>d", r));
  EXPECT_EQ(r.events, "t:a|s:b|");
  CRecorder atEnd(1);
  EXPECT_FALSE(Tokenize("tail", atEnd));  // the final text run counts too
}

TEST(MarkupTokenizer, TokenizesTheEncodedDescriptionOnlyWhenThereIsNoOther) {
  EXPECT_FALSE(ParsesEncodedDescription("plain", ""));
  EXPECT_FALSE(ParsesEncodedDescription("plain", "<p>rich</p>"));  // RSS 1.0 with both
  EXPECT_TRUE(ParsesEncodedDescription("", "<p>rich</p>"));        // RSS 0.92 / 2.0
  EXPECT_FALSE(ParsesEncodedDescription("", ""));
}

}  // namespace
}  // namespace tw
