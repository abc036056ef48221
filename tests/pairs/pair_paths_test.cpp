#include "pairs/pair_paths.h"

#include <gtest/gtest.h>

namespace mirvane {
namespace {

TEST(HasPairExtension, WantsDotQmpInAnyCaseOnTheFileName) {
    for (std::u16string_view yes : {u"/home/a/PHOTO.QMP", u"a.b.qmp", u"x.Qmp", u"/d.ir/x.qmp",
                                    u"/p/a:b.qmp", u"/p/back\\slash.qmp", u"C:\\p\\a.qmp"}) {
        EXPECT_TRUE(HasPairExtension(yes)) << std::string(yes.begin(), yes.end());
    }
    for (std::u16string_view no :
         {u".qmp", u"/x/.qmp", u"x.qmp.bak", u"x.qmpx", u"x.qm", u"x", u"/dir.qmp/", u"",
          u"x.q\u00d6mp", u"..", u"x.qmp/..", u"/p/photos.qmp:old", u"/p/x.qmp\\"}) {
        EXPECT_FALSE(HasPairExtension(no)) << std::string(no.begin(), no.end());
    }
}

TEST(HasDrivePathPairExtension, CutsTheLastComponentAtItsFirstColon) {
    for (std::u16string_view yes :
         {u"C:\\p\\a.qmp", u"C:/pairs/a.qmp", u"x.qmp:stream", u"a.b.QMP"}) {
        EXPECT_TRUE(HasDrivePathPairExtension(yes)) << std::string(yes.begin(), yes.end());
    }
    for (std::u16string_view no : {u"x.bak:y.qmp", u"C:", u"C:\\p\\.qmp", u"p\\x.qmp.bak"}) {
        EXPECT_FALSE(HasDrivePathPairExtension(no)) << std::string(no.begin(), no.end());
    }
}

TEST(IsLocalDrivePath, FollowsTheDriveLetterRule) {
    const DriveTypeQuery drives = [](std::u16string_view root) {
        if (root[0] == u'N' || root[0] == u'n') {
            return kRemoteDriveType;
        }
        return root[0] == u'E' ? 2 : 3;  // E: a removable stick, everything else fixed
    };
    EXPECT_TRUE(IsLocalDrivePath(u"C:/pairs/a.qmp", drives));
    EXPECT_TRUE(IsLocalDrivePath(u"c:\\a.qmp", drives));
    EXPECT_TRUE(IsLocalDrivePath(u"E:\\trip.qmp", drives));
    EXPECT_FALSE(IsLocalDrivePath(u"N:\\share\\a.qmp", drives));
    EXPECT_FALSE(IsLocalDrivePath(u"\\\\server\\share\\a.qmp", drives));
    EXPECT_FALSE(IsLocalDrivePath(u"\\\\?\\C:\\a.qmp", drives));
    EXPECT_FALSE(IsLocalDrivePath(u"C:a.qmp", drives));
    EXPECT_FALSE(IsLocalDrivePath(u"C:\\", drives)) << "shorter than four characters";
    EXPECT_FALSE(IsLocalDrivePath(u"C:\\a.qmp:hidden", drives));
    EXPECT_FALSE(IsLocalDrivePath(u"1:\\a.qmp", drives));
    EXPECT_FALSE(IsLocalDrivePath(u"pairs\\a.qmp", drives));
}

TEST(IsLocalFilePath, RefusesRelativeAndNetworkPaths) {
    const FilesystemTypeQuery ext4 = [](const QString&) { return std::int64_t{0xef53}; };
    const FilesystemTypeQuery nfs = [](const QString&) { return std::int64_t{0x6969}; };
    const FilesystemTypeQuery unknown = [](const QString&) { return std::nullopt; };
    EXPECT_TRUE(IsLocalFilePath("/home/u/a.qmp", ext4));
    EXPECT_TRUE(IsLocalFilePath("/home/u/a.qmp", unknown));
    EXPECT_FALSE(IsLocalFilePath("/mnt/share/a.qmp", nfs));
    EXPECT_FALSE(IsLocalFilePath("a.qmp", ext4));
    EXPECT_FALSE(IsLocalFilePath("./a.qmp", ext4));
    EXPECT_FALSE(IsLocalFilePath("", ext4));
    EXPECT_FALSE(IsLocalFilePath(QString("/tmp/a.qmp") + QChar(u'\0') + "x", ext4));

    for (std::int64_t network : std::initializer_list<std::int64_t>{
             0x6969, 0xff534d42, 0xfe534d42, 0x517b, 0x01021997, 0x00c36400}) {
        EXPECT_TRUE(IsNetworkFilesystemType(network)) << std::hex << network;
    }
    for (std::int64_t local : std::initializer_list<std::int64_t>{0xef53, 0x01021994, 0x9123683e,
                                                                  0x58465342, 0x65735546}) {
        EXPECT_FALSE(IsNetworkFilesystemType(local)) << std::hex << local;
    }
}

}  // namespace
}  // namespace mirvane
