#include "net/job_url.h"

#include <gtest/gtest.h>

using net::UrlParts;

TEST(JobUrl, SchemeAndHostOnlyGetTheRootPath) {
    EXPECT_EQ(net::NormaliseJobUrl("http://h"), "http://h/");
    EXPECT_EQ(net::NormaliseJobUrl("http://h/"), "http://h/");
    UrlParts p;
    ASSERT_TRUE(net::SplitJobUrl(net::NormaliseJobUrl("http://Example.org"), p));
    EXPECT_EQ(p.serviceType, net::kSchemeHttp);
    EXPECT_EQ(p.host, "Example.org");
    EXPECT_EQ(p.objectPath, "/");
    EXPECT_EQ(p.port, 80);
}

TEST(JobUrl, SplitsPortCredentialsAndQuery) {
    UrlParts p;
    ASSERT_TRUE(net::SplitJobUrl("FTP://bob:s3c:r@10.0.0.1:2121/pub/a.zip", p));
    EXPECT_EQ(p.serviceType, net::kSchemeFtp);
    EXPECT_EQ(p.user, "bob");
    EXPECT_EQ(p.password, "s3c:r");
    EXPECT_EQ(p.host, "10.0.0.1");
    EXPECT_EQ(p.port, 2121);
    EXPECT_EQ(p.objectPath, "/pub/a.zip");
    ASSERT_TRUE(net::SplitJobUrl("ftp://h/x", p));
    EXPECT_EQ(p.port, 21);
    ASSERT_TRUE(net::SplitJobUrl("http://h/cgi?a=1&b=/2#frag", p));
    EXPECT_EQ(p.objectPath, "/cgi?a=1&b=/2");
    ASSERT_TRUE(net::SplitJobUrl("http://h?q=1/", p));
    EXPECT_EQ(p.host, "h");
    EXPECT_EQ(p.objectPath, "/?q=1/");
    // A redirect target starts with the blank after "Location:".
    ASSERT_TRUE(net::SplitJobUrl(" http://h:8080/n ", p));
    EXPECT_EQ(p.port, 8080);
    EXPECT_EQ(p.objectPath, "/n");
}

TEST(JobUrl, RejectsWhatIsNotAnAbsoluteFtpOrHttpUrl) {
    for (const char* bad : {"", "/", "index.html", "//h/x", "httpx://h/", "file:///c:/x", "news://h/g",
                            "http:///x", "http://:80/", "http://h:99999/", "http://h:0/", "http://h:8a/",
                            "http://a b/"}) {
        EXPECT_FALSE(net::IsValidJobUrl(bad)) << bad;
    }
    UrlParts p;
    EXPECT_FALSE(net::SplitJobUrl("httpx://h/x", p));
    EXPECT_EQ(p.serviceType, 0u);
    ASSERT_TRUE(net::SplitJobUrl("HTTPS://h/x", p));
    EXPECT_EQ(p.serviceType, net::kSchemeHttps);
    EXPECT_EQ(p.port, 443);
    ASSERT_TRUE(net::SplitJobUrl("https://h:8443", p));
    EXPECT_EQ(p.port, 8443);
    EXPECT_EQ(p.objectPath, "/");
    EXPECT_TRUE(net::IsValidJobUrl("http://h"));
    EXPECT_TRUE(net::IsValidJobUrl("ftp://u@h/f"));
}

TEST(JobUrl, ControlBytesAnywhereMakeItInvalid) {
    // Path and host go into request and command lines: a line break would
    // add lines of the URL's own.
    const std::string nul("http://h/a\0b", 12);
    for (const std::string& bad : {std::string("http://h/a\r\nX-Injected: 1"), std::string("ftp://h/a.zip\nDELE b"), nul,
                                   std::string("http://h/\x7f"), std::string("\thttp://h/"), std::string("http://h/a\t"),
                                   std::string("http://h\x01/"), std::string("http://u\x1f@h/")}) {
        EXPECT_TRUE(net::HasControlBytes(bad)) << bad;
        EXPECT_FALSE(net::IsValidJobUrl(bad)) << bad;
        UrlParts p;
        EXPECT_FALSE(net::SplitJobUrl(bad, p)) << bad;
        EXPECT_TRUE(p.objectPath.empty()) << bad;
    }
    // Blanks and bytes above 0x7F are not control bytes.
    EXPECT_FALSE(net::HasControlBytes("http://h/a b\xe9\x80"));
}
