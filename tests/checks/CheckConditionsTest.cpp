// The check conditions file: what it writes, that it reads back, and the
// files it refuses with the file and line named.

#include "checks/CheckConditions.h"
#include "model/Model.h"
#include "platform/Files.h"
#include "platform/Sjis.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace rahmen;

namespace {

CheckConditions sample() {
    CheckConditions c;
    c.grades[2] = "SN490B";
    c.grades[5] = "STKR400";
    c.members[3] = {450, 1, 1};
    c.members[7] = {0, 2.1f, 0.7f};
    return c;
}

} // namespace

TEST(CheckConditions, FileListsGradesAndMemberConditionsAndReadsBack) {
    const std::string bytes = checkConditionsFileBytes(sample());
    EXPECT_EQ(cp932ToUtf8(bytes), "許容応力度検定の条件\r\n鋼種指定数:  2  部材条件数:  2 \r\n\r\n"
                                  "      2 , SN490B\r\n      5 , STKR400\r\n\r\n"
                                  "      3 450  1  1 \r\n      7 0  2.1  .7 \r\n\r\n");
    CheckConditions back;
    ItemReader in(bytes, "f.ckc");
    readCheckConditionsFile(in, back, 5, 7);
    EXPECT_EQ(back.grades, sample().grades);
    EXPECT_EQ(back.gradeOf(2), "SN490B");
    EXPECT_EQ(back.gradeOf(1), "SN400B");
    EXPECT_EQ(back.memberCondition(3).lb, 450);
    EXPECT_FLOAT_EQ(back.memberCondition(7).kx, 2.1f);
    EXPECT_EQ(back.memberCondition(4).kx, 1);
    EXPECT_EQ(back.memberCondition(4).lb, 0);
}

TEST(CheckConditions, MalformedFilesAreRefusedNamingTheLine) {
    const std::string head = "許容応力度検定の条件\r\n";
    const struct {
        std::string text;
        int line;
        std::string says;
    } cases[] = {
        {head + "鋼種指定数: 1 部材条件数: 0\r\n\r\n  2, SS490\r\n\r\n\r\n", 4, "鋼種 SS490"},
        {head + "鋼種指定数: 1 部材条件数: 0\r\n\r\n  9, SS400\r\n\r\n\r\n", 4, "部材タイプ番号"},
        {head + "鋼種指定数: 2 部材条件数: 0\r\n\r\n  2, SS400\r\n  2, SS400\r\n\r\n\r\n", 5,
         "部材タイプ番号"},
        {head + "鋼種指定数: 1 部材条件数: 0\r\n\r\n  2, SS400\r\n  3, SS400\r\n\r\n\r\n", 5, ""},
        {head + "鋼種指定数: 0 部材条件数: 1\r\n\r\n\r\n  3 -5 1 1\r\n\r\n", 5, "横補剛間隔"},
        {head + "鋼種指定数: 0 部材条件数: 1\r\n\r\n\r\n  3 0 1 -1\r\n\r\n", 5, "ky"},
        {head + "鋼種指定数: 0 部材条件数: 1\r\n\r\n\r\n  8 0 1 1\r\n\r\n", 5, "部材番号"},
        {head + "鋼種指定数: 6 部材条件数: 0\r\n", 2, "鋼種指定数"},
    };
    for (const auto& c : cases) {
        CheckConditions got;
        ItemReader in(utf8ToCp932(c.text), "bad.ckc");
        try {
            readCheckConditionsFile(in, got, 5, 7);
            ADD_FAILURE() << "read: " << c.text;
        } catch (const DataFileError& e) {
            EXPECT_EQ(e.line(), c.line) << c.text << "\n" << e.what();
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
    }
}

TEST(CheckConditions, WrittenAtomicallyAndReadForTheModelsDataName) {
    const auto folder = std::filesystem::temp_directory_path() / "rahmen_ckc_test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    Files files(folder);
    auto model = std::make_unique<Model>();
    model->DataName = "frame";
    model->MemberTypeCount = 5;
    model->MemberCount = 7;
    CheckConditions got = sample();
    EXPECT_EQ(readCheckConditions(files, *model, got), "");
    EXPECT_TRUE(got.grades.empty()); // no file: the defaults

    ASSERT_TRUE(writeCheckConditions(files, "frame", sample()));
    EXPECT_EQ(readCheckConditions(files, *model, got), "");
    EXPECT_EQ(got.grades, sample().grades);

    model->MemberCount = 5; // the file names member 7
    EXPECT_NE(readCheckConditions(files, *model, got).find("frame.ckc"), std::string::npos);
    EXPECT_TRUE(got.members.empty());
    std::filesystem::remove_all(folder);
}
