#pragma once
// The grouping writer shared by the data files: wraps runs of child elements in "Group"
// elements so that no element gets more than a given number of children. Readers do not
// depend on it: they look for their elements at any depth.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "framework/xml.h"
#include "model/xml_text_writer.h"

namespace tw {

constexpr size_t kSiteFileGroupSize = 32;
constexpr size_t kScoreFileGroupSize = 64;

// Appends children (detached elements of doc, in order) to parent. More than groupSize of
// them are cut into runs of groupSize, each run placed in a Group element (in namespace ns),
// and the Group elements are placed the same way, level by level. Sizes below 2 group nothing.
void AppendGrouped(const CXmlDocument& doc, const CXmlNode& parent, std::vector<CXmlNode> children,
                   size_t groupSize, const std::wstring& ns);

// The same grouping for a document built as text: writes count children through
// writeChild(index), in order, inside the Group elements that AppendGrouped would make.
void WriteGrouped(CXmlTextWriter& writer, size_t count, size_t groupSize,
                  const std::function<void(size_t index)>& writeChild);

}  // namespace tw
