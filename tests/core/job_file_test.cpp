#include "jobs/job_record.h"

#include <gtest/gtest.h>

#include "net/user_agent.h"

namespace {

JobRecord Sample(int i) {
    JobRecord j;
    j.hopLevel = i - 1;
    j.targetCatalog = "C:\\Vault\\Cat" + std::to_string(i);
    j.status = "Finished.";
    j.password = "pw";
    j.url = "http://h/" + std::to_string(i);
    j.userName = "user";
    j.downloadFolder = "C:\\Program";
    j.pageFileName = "page.htm";
    j.linkText = "img/a.gif";
    j.rootCatalog = "C:\\Vault";
    j.rootPageName = "root.htm";
    j.receivedBytes = 1000u + i;
    j.totalBytes = 4294967295u;
    j.bytesPerSecond = 1234.5;
    j.serviceType = 3;
    j.port = 65535;
    j.startedUrl = j.url;
    j.objectPath = "/" + std::to_string(i);
    j.serverHost = "h";
    j.reservedWord = 77;  // never stored
    j.fileName = "f" + std::to_string(i);
    j.proxy = {1, 0x7F000001, 1080, 4, "pu", "pp", "dom"};
    return j;
}

}  // namespace

TEST(JobFile, RoundTripKeepsEveryStoredField) {
    JobRecord a = Sample(0), b = Sample(1), c = Sample(2);
    b.url = std::string(255, 'u');
    c.linkText = std::string(70000, 'l');
    a.number = 9;
    const arc::Bytes bytes = EncodeJobFile({&a, &b, &c});
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[2], 0x01);  // version 0x00010000, little-endian
    EXPECT_EQ(bytes[4], 3);
    const DecodedJobFile d = DecodeJobFile(bytes);
    ASSERT_FALSE(d.damaged);
    ASSERT_EQ(d.jobs.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const JobRecord& j = d.jobs[i];
        const JobRecord& e = i == 0 ? a : i == 1 ? b : c;
        EXPECT_EQ(j.number, i);
        EXPECT_EQ(j.formatVersion, kJobFileVersion);
        EXPECT_EQ(j.hopLevel, e.hopLevel);
        EXPECT_EQ(j.url, e.url);
        EXPECT_EQ(j.linkText, e.linkText);
        EXPECT_EQ(j.targetCatalog, e.targetCatalog);
        EXPECT_EQ(j.rootPageName, e.rootPageName);
        EXPECT_EQ(j.receivedBytes, e.receivedBytes);
        EXPECT_EQ(j.totalBytes, e.totalBytes);
        EXPECT_EQ(j.bytesPerSecond, e.bytesPerSecond);
        EXPECT_EQ(j.port, e.port);
        EXPECT_EQ(j.objectPath, e.objectPath);
        EXPECT_EQ(j.fileName, e.fileName);
        EXPECT_EQ(j.reservedWord, 0);
        EXPECT_EQ(j.proxy.IPAddress, e.proxy.IPAddress);
        EXPECT_EQ(j.proxy.Port, e.proxy.Port);
        EXPECT_EQ(j.proxy.Type, e.proxy.Type);
        EXPECT_EQ(j.proxy.Domain, e.proxy.Domain);
        EXPECT_EQ(j.proxy.User, e.proxy.User);
        EXPECT_EQ(j.proxy.Password, e.proxy.Password);
        EXPECT_TRUE(j.userAgent.empty());
    }
}

TEST(JobFile, FieldOrderOnDisk) {
    JobRecord j;
    j.hopLevel = -1;
    j.targetCatalog = "T";
    j.status = "S";
    j.port = 0x1234;
    j.proxy.Port = 80;
    const arc::Bytes b = EncodeJobFile({&j});
    // header 8, hopLevel 4, "T" and "S" as 1-byte prefixed texts
    ASSERT_GE(b.size(), 16u);
    EXPECT_EQ(b[8], 0xFF);
    EXPECT_EQ(b[12], 1);
    EXPECT_EQ(b[13], 'T');
    EXPECT_EQ(b[15], 'S');
    EXPECT_EQ(b[b.size() - 4], 80);  // the proxy port closes the record
}

TEST(JobFile, EmptyCountZeroAndDamage) {
    EXPECT_TRUE(DecodeJobFile({}).jobs.empty());
    EXPECT_FALSE(DecodeJobFile({}).damaged);
    const arc::Bytes zero = EncodeJobFile({});
    EXPECT_TRUE(DecodeJobFile(zero).jobs.empty());
    EXPECT_FALSE(DecodeJobFile(zero).damaged);
    EXPECT_TRUE(DecodeJobFile({0, 0, 1}).damaged);

    JobRecord a = Sample(0), b = Sample(1);
    arc::Bytes bytes = EncodeJobFile({&a, &b});
    bytes.resize(bytes.size() - 1);
    DecodedJobFile d = DecodeJobFile(bytes);
    EXPECT_TRUE(d.damaged);
    ASSERT_EQ(d.jobs.size(), 1u);
    EXPECT_EQ(d.jobs[0].url, a.url);
    // A count larger than the records present keeps those present.
    bytes = EncodeJobFile({&a});
    bytes[4] = 0xFF;
    bytes[5] = 0xFF;
    bytes[6] = 0xFF;
    bytes[7] = 0xFF;
    d = DecodeJobFile(bytes);
    EXPECT_TRUE(d.damaged);
    EXPECT_EQ(d.jobs.size(), 1u);
}

TEST(UserAgentList, EntriesBeforeEachSeparator) {
    EXPECT_EQ(net::UserAgentEntry("A|||B|||C", 0), std::optional<std::string>("A"));
    EXPECT_EQ(net::UserAgentEntry("A|||B|||C", 1), std::optional<std::string>("B"));
    EXPECT_EQ(net::UserAgentEntry("A|||B|||C", 2), std::nullopt);  // text after the last separator
    EXPECT_EQ(net::UserAgentEntry("A|||", -1), std::nullopt);
    EXPECT_EQ(net::UserAgentEntry("|||", 0), std::optional<std::string>(""));
}
