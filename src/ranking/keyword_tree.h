#pragma once
// A byte trie of keywords in code page 932. The root and the nodes of the first TableLevels-1
// levels below it index their children through a 256-entry table, deeper nodes through an
// ordered map. Matching walks whole characters only, so a keyword never matches inside a
// double-byte character. Used with int levels for the user's keywords and with double values
// for learned words. Immutable once built; readers on several threads may share it.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/text.h"

namespace tw {

template <class V, int TableLevels>
class CKeywordTree {
 public:
  class CNode {
   public:
    bool Terminal() const { return terminal_; }
    // The byte that leads to this node begins no keyword.
    bool NoStart() const { return noStart_; }
    const V& Value() const { return value_; }

    const CNode* Child(unsigned char b) const {
      if (table_) return (*table_)[b].get();
      auto it =
          std::lower_bound(map_.begin(), map_.end(), b,
                           [](const auto& entry, unsigned char k) { return entry.first < k; });
      return it != map_.end() && it->first == b ? it->second.get() : nullptr;
    }

   private:
    friend class CKeywordTree;
    using Table = std::array<std::unique_ptr<CNode>, 256>;

    bool terminal_ = false;
    bool noStart_ = false;
    V value_{};
    std::unique_ptr<Table> table_;
    // Deeper levels: ordered by byte, in one sorted vector rather than a tree of map nodes.
    std::vector<std::pair<unsigned char, std::unique_ptr<CNode>>> map_;
  };

  CKeywordTree() = default;
  CKeywordTree(const CKeywordTree&) = delete;
  CKeywordTree& operator=(const CKeywordTree&) = delete;
  ~CKeywordTree() { Clear(); }

  // Adds a keyword; an equal later keyword overwrites the value. Empty keys are ignored.
  // Call Finish once after the last insertion.
  void Insert(std::string_view key, const V& value) {
    if (key.empty()) return;
    CNode* node = &root_;
    for (size_t depth = 0; depth < key.size(); ++depth) {
      auto b = static_cast<unsigned char>(key[depth]);
      std::unique_ptr<CNode>* slot;
      if (static_cast<int>(depth) < TableLevels) {
        if (!node->table_) node->table_ = std::make_unique<typename CNode::Table>();
        slot = &(*node->table_)[b];
      } else {
        auto& map = node->map_;
        auto it =
            std::lower_bound(map.begin(), map.end(), b,
                             [](const auto& entry, unsigned char k) { return entry.first < k; });
        if (it == map.end() || it->first != b) it = map.emplace(it, b, nullptr);
        slot = &it->second;
      }
      if (!*slot) *slot = std::make_unique<CNode>();
      node = slot->get();
    }
    node->terminal_ = true;
    node->value_ = value;
    // The quick pre-test of MayMatch: keywords by their first one, two or four bytes.
    if (key.size() == 1) {
      single_[static_cast<unsigned char>(key[0])] = true;
    } else if (key.size() < 4) {
      SetBit(pairs_, Pair(key));
    } else {
      SetBit(quads_, Quad(key));
    }
    start_[static_cast<unsigned char>(key[0])] = true;
  }

  // Marks the nodes whose byte begins no keyword.
  void Finish() {
    std::vector<CNode*> stack;
    ForEachChild(root_, [&](CNode* c, unsigned char) { stack.push_back(c); });
    while (!stack.empty()) {
      CNode* node = stack.back();
      stack.pop_back();
      ForEachChild(*node, [&](CNode* c, unsigned char b) {
        c->noStart_ = !start_[b];
        stack.push_back(c);
      });
    }
  }

  const CNode& Root() const { return root_; }
  // False when no keyword can match at the start of text (not empty); true when one may. A
  // test of the first bytes against bit sets, so that a scan passes over most positions
  // without walking the tree.
  bool MayMatch(std::string_view text) const {
    if (single_[static_cast<unsigned char>(text[0])]) return true;
    if (text.size() >= 2 && TestBit(pairs_, Pair(text))) return true;
    return text.size() >= 4 && TestBit(quads_, Quad(text));
  }

  // The keyword matched at the start of text (a character boundary): among the keywords that
  // end on a character boundary, the first found is kept and each longer one replaces it when
  // its value is greater or equal. Returns its length in bytes (0 for none) and its value.
  size_t Match(std::string_view text, V* value) const {
    const CNode* node = &root_;
    size_t best = 0;
    size_t boundary = 0;  // where the character that holds byte i ends
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
      auto b = static_cast<unsigned char>(text[i]);
      if (i == boundary) boundary += IsLeadByte932(b) && i + 1 < n ? 2 : 1;
      node = node->Child(b);
      if (!node) break;
      if (node->terminal_ && i + 1 == boundary && (best == 0 || !(node->value_ < *value))) {
        best = i + 1;
        *value = node->value_;
      }
    }
    return best;
  }

 private:
  template <class F>
  static void ForEachChild(CNode& node, F&& f) {
    if (node.table_) {
      for (size_t b = 0; b < 256; ++b) {
        if ((*node.table_)[b]) f((*node.table_)[b].get(), static_cast<unsigned char>(b));
      }
    }
    for (auto& [b, child] : node.map_) f(child.get(), b);
  }

  // Takes the nodes apart without recursion: a very long keyword makes a deep chain.
  void Clear() {
    std::vector<std::unique_ptr<CNode>> pending;
    auto release = [&pending](CNode& node) {
      if (node.table_) {
        for (auto& child : *node.table_) {
          if (child) pending.push_back(std::move(child));
        }
        node.table_.reset();
      }
      for (auto& entry : node.map_) pending.push_back(std::move(entry.second));
      node.map_.clear();
    };
    release(root_);
    while (!pending.empty()) {
      std::unique_ptr<CNode> node = std::move(pending.back());
      pending.pop_back();
      release(*node);
    }
  }

  using Bits = std::array<uint64_t, 65536 / 64>;
  static unsigned Pair(std::string_view s) {
    return static_cast<unsigned char>(s[0]) << 8 | static_cast<unsigned char>(s[1]);
  }
  // The first four bytes hashed to 16 bits.
  static unsigned Quad(std::string_view s) {
    uint32_t v;
    std::memcpy(&v, s.data(), 4);
    return (v * 2654435761u) >> 16;
  }
  static void SetBit(Bits& bits, unsigned i) { bits[i / 64] |= uint64_t{1} << (i % 64); }
  static bool TestBit(const Bits& bits, unsigned i) { return (bits[i / 64] >> (i % 64)) & 1; }

  CNode root_;
  std::array<bool, 256> start_{};   // first bytes of all keywords
  std::array<bool, 256> single_{};  // keywords of one byte
  Bits pairs_{};                    // first two bytes of keywords of two or three bytes
  Bits quads_{};                    // hashed first four bytes of longer keywords
};

}  // namespace tw
