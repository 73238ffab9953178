#include "jobs/web_picker.h"

#include <gtest/gtest.h>

#include "common/paths.h"

using jobs::ExtractResourceLinks;
using jobs::ResolveLink;
using jobs::SplitUrlPrefixes;

namespace {

std::string Sanitized(std::string name) {
    jobs::SanitizeFileName(name);
    return name;
}

std::vector<std::string> Links(std::string_view html, unsigned flags = 3) {
    std::vector<std::string> links;
    ExtractResourceLinks(html, links, flags);
    return links;
}

using L = std::vector<std::string>;

}  // namespace

TEST(WebPicker, PageNamesStayReadableAndInsideTheirFolder) {
    EXPECT_EQ(Sanitized("a/b:c.html"), "a-b-c.html");
    EXPECT_EQ(Sanitized("x<y>.html"), "x[y].html");
    EXPECT_EQ(Sanitized("a\\*?|.txt"), "a----.txt");
    for (const char* hostile : {"..", "...", "", "CON.html", "nul", "a\x01\x7F.html", "\"q\".html", "page.html. "}) {
        const std::string name = Sanitized(hostile);
        EXPECT_TRUE(paths::IsBareFileName(name)) << hostile << " -> " << name;
        EXPECT_FALSE(name.empty());
        EXPECT_NE(name.back(), '.');
        EXPECT_NE(name.back(), ' ');
    }
    EXPECT_LE(Sanitized(std::string(5000, 'n') + ".html").size(), 200u);
    EXPECT_EQ(Sanitized(std::string(5000, 'n') + ".html").substr(195), ".html");

    std::string ext;
    EXPECT_TRUE(jobs::PageExtension("Report.v2.HTML", ext));
    EXPECT_EQ(ext, "html");
    EXPECT_FALSE(jobs::PageExtension("noext", ext));
}

TEST(WebPicker, ImageAndEmbedTagsGiveTheirSources) {
    EXPECT_EQ(Links("<IMG SRC=\"Pic.GIF\">"), L{"Pic.GIF"});
    EXPECT_EQ(Links("<img src=pic.gif>"), L{"pic.gif"});
    EXPECT_EQ(Links("<img src='pic.gif' alt=x>"), L{"pic.gif"});
    EXPECT_EQ(Links("<embed src=m.swf width=10>"), L{"m.swf"});
    EXPECT_EQ(Links("<  img\nsrc=\"a b.gif\">"), L{"a"});
    // Too short, the wrong keyword, no source, an empty source.
    EXPECT_EQ(Links("<img><image src=\"x.gif\"><img alt=\"x\"><img src=\"\">"), L{});
    // Only the asked kinds; a repeated source once; document order.
    EXPECT_EQ(Links("<img src=a.gif><embed src=m.swf>", jobs::kImageSources), L{"a.gif"});
    EXPECT_EQ(Links("<embed src=m.swf><img src=a.gif><img src=m.swf><img src=a.gif>"), (L{"m.swf", "a.gif"}));
    // A '<' inside an open tag is dropped; the text outside tags is not scanned.
    EXPECT_EQ(Links("<img <src=x.gif>"), L{"x.gif"});
    EXPECT_EQ(Links("img src=no.gif> <p>"), L{});
    std::vector<std::string> links;
    EXPECT_FALSE(ExtractResourceLinks("", links, 3));
}

TEST(WebPicker, LinkListIsBounded) {
    std::string page;
    for (int i = 0; i < 1000; ++i) page += "<img src=\"i" + std::to_string(i) + ".gif\">";
    page += "<img src=\"" + std::string(jobs::kMaxLinkLength + 1, 'x') + "\">";
    const auto links = Links(page);
    ASSERT_EQ(links.size(), jobs::kMaxPageResources);
    EXPECT_EQ(links.back(), "i255.gif");
    EXPECT_EQ(Links("<img src=\"" + std::string(jobs::kMaxLinkLength + 1, 'x') + "\">"), L{});
}

TEST(WebPicker, PrefixesAndResolution) {
    std::vector<std::string> p;
    ASSERT_TRUE(SplitUrlPrefixes("http://h/a/b/page.html?q=/x/y#z/w", p));
    ASSERT_EQ(p, (L{"http://h", "http://h/a", "http://h/a/b"}));
    const std::pair<const char*, const char*> table[] = {
        {"c.gif", "http://h/a/b/c.gif"},   {"/c.gif", "http://h/c.gif"},
        {"./c.gif", "http://h/a/b/c.gif"}, {"../c.gif", "http://h/a/c.gif"},
        {"../../c.gif", "http://h/c.gif"}, {"ftp://f/x.gif", "ftp://f/x.gif"},
        {"//cdn/x.gif", "http://cdn/x.gif"}, {"d/e:f.gif", "http://h/a/b/d/e:f.gif"},
    };
    for (const auto& [link, want] : table) {
        std::string url;
        EXPECT_TRUE(ResolveLink(p, link, url)) << link;
        EXPECT_EQ(url, want);
    }
    for (const char* refused : {"../../../c.gif", "2.gif", "#top", "?x=1", "_x.gif", "", "javascript:go()",
                                "data:image/png;base64,AAAA", "mailto:a@b"}) {
        std::string url;
        EXPECT_FALSE(ResolveLink(p, refused, url)) << refused;
    }
    std::string url;
    EXPECT_FALSE(ResolveLink({}, "c.gif", url));

    EXPECT_TRUE(SplitUrlPrefixes("http://h/", p));
    EXPECT_EQ(p, L{"http://h"});
    EXPECT_FALSE(SplitUrlPrefixes("http://h", p));
    EXPECT_FALSE(SplitUrlPrefixes("h/a/b.html", p));
    EXPECT_FALSE(SplitUrlPrefixes("http://h/" + std::string(jobs::kMaxLinkLength, 'a') + "/", p));

    // A secure page keeps its scheme for relative and scheme-relative links.
    ASSERT_TRUE(SplitUrlPrefixes("https://h/a/p.html", p));
    for (const auto& [link, want] : {std::pair{"c.gif", "https://h/a/c.gif"}, {"//cdn/x.gif", "https://cdn/x.gif"},
                                     {"http://o/y.gif", "http://o/y.gif"}}) {
        EXPECT_TRUE(ResolveLink(p, link, url)) << link;
        EXPECT_EQ(url, want);
    }
}
