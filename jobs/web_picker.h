// The web picker's text rules: the name a handed-over page is stored
// under, the images and embedded objects its HTML refers to, and how those
// links resolve against the page's URL. Page, URL and name all come from a
// browser page, so every length here is bounded.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace jobs {

// Flags of ExtractResourceLinks.
constexpr unsigned kImageSources = 1;     // <img src=...>
constexpr unsigned kEmbeddedSources = 2;  // <embed src=...>

// The most resources one stored page fetches. Each is a download job: a
// row of the jobs list, a record of the job file (which is written whole on
// every add, so n jobs cost n*n/2 record writes), and a worker thread that
// waits for one of the download slots. Real pages name a few dozen images;
// a page naming thousands is an index or a gallery, whose entries the user
// did not ask to have filed beside it.
constexpr std::size_t kMaxPageResources = 256;
// The longest link or page URL the picker works with. Longer ones are
// data: texts or generated junk, never a file a server would give.
constexpr std::size_t kMaxLinkLength = 4096;

// Makes a page's file name safe, in place: \ / : * ? | become '-', < and >
// become [ and ] (so "a/b:c.html" stays readable as "a-b-c.html"); then
// whatever else cannot name a file in its folder goes the way of every
// downloaded name (net::SafeLocalName: quotes and control characters,
// trailing dots and blanks, device names, length). Never empty afterwards.
void SanitizeFileName(std::string& name);

// The extension after the last '.', in lower case; false without a '.'.
bool PageExtension(std::string_view fileName, std::string& extension);

// Appends the sources of the image (flag kImageSources) and embedded-object
// (kEmbeddedSources) tags of the HTML text, as written and in document
// order. A link already in the list, an empty one and one longer than
// kMaxLinkLength are not added, and the list stops growing at maxLinks.
// True when the list is not empty afterwards.
bool ExtractResourceLinks(std::string_view html, std::vector<std::string>& links, unsigned flags,
                          std::size_t maxLinks = kMaxPageResources);

// The page's site root and each directory on the way to its own, in that
// order (the last one is the page's directory); query and fragment are not
// part of the path. False without "://", for a URL longer than
// kMaxLinkLength, or when there is no prefix.
bool SplitUrlPrefixes(std::string_view url, std::vector<std::string>& prefixes);

// The absolute URL of a link on the page whose prefixes are given; false
// when it names nothing the picker fetches (fragments, queries, links of
// another scheme such as javascript: or data:, and "../" above the root).
bool ResolveLink(const std::vector<std::string>& prefixes, std::string_view link, std::string& url);

}  // namespace jobs
