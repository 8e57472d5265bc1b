#pragma once
// Generated feeds of every format, shaped like the feeds of Japanese news sites: Japanese
// titles (some with a wave dash that needs repairing), HTML descriptions with entities or in
// CDATA, dates, and elements the readers skip.
#include <string>

#include "feeds/feed_detector.h"

namespace tw::bench {

// The UTF-8 bytes of a feed of the given format with items items; descriptionRepeat
// lengthens each description (1 gives about 500 bytes of HTML per item).
std::string GenerateFeed(FeedFormat format, int items, int descriptionRepeat = 1);

}  // namespace tw::bench
