#include "platform/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rahmen {
namespace {

TEST(ScriptedDialogs, AnswersMessagesInQueueOrderAndLogsThem) {
    ScriptedDialogs dialogs;
    dialogs.queueMessage(MessageResult::No);
    dialogs.queueMessage(MessageResult::Cancel);

    EXPECT_EQ(dialogs.message("rahmen", "作成したデータファイルを保存しますか。",
                              MessageButtons::YesNo, MessageIcon::Question),
              MessageResult::No);
    EXPECT_EQ(dialogs.message("rahmen", "メモリー中の 解析データ を削除します",
                              MessageButtons::OkCancel, MessageIcon::Information),
              MessageResult::Cancel);

    ASSERT_EQ(dialogs.messages().size(), 2u);
    const MessageCall& first = dialogs.messages()[0];
    EXPECT_EQ(first.title, "rahmen");
    EXPECT_EQ(first.text, "作成したデータファイルを保存しますか。");
    EXPECT_EQ(first.buttons, MessageButtons::YesNo);
    EXPECT_EQ(first.icon, MessageIcon::Question);
    EXPECT_EQ(first.answer, MessageResult::No);
    EXPECT_TRUE(first.scripted);
    EXPECT_EQ(dialogs.messages()[1].answer, MessageResult::Cancel);
    EXPECT_EQ(dialogs.unscripted(), 0);
    EXPECT_EQ(dialogs.pending(), 0u);
}

TEST(ScriptedDialogs, UnqueuedCallsGetTheFirstButtonOrCancelAndAreCounted) {
    ScriptedDialogs dialogs;
    EXPECT_EQ(dialogs.message("t", "a", MessageButtons::Ok, MessageIcon::None), MessageResult::Ok);
    EXPECT_EQ(dialogs.message("t", "b", MessageButtons::OkCancel, MessageIcon::None),
              MessageResult::Ok);
    EXPECT_EQ(dialogs.message("t", "c", MessageButtons::YesNo, MessageIcon::None),
              MessageResult::Yes);
    EXPECT_EQ(dialogs.message("t", "d", MessageButtons::RetryCancel, MessageIcon::None),
              MessageResult::Retry);
    EXPECT_EQ(dialogs.input("節点数", "rahmen", "0"), std::nullopt);
    EXPECT_EQ(dialogs.openFile("座標データ呼出", "座標データ", "*.cdt"), std::nullopt);
    EXPECT_EQ(dialogs.unscripted(), 6);
    EXPECT_FALSE(dialogs.messages()[2].scripted);

    dialogs.clearLog();
    EXPECT_EQ(dialogs.unscripted(), 0);
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST(ScriptedDialogs, AnswerTheBoxDoesNotOfferIsUsedUpAndFlagged) {
    ScriptedDialogs dialogs;
    dialogs.queueMessage(MessageResult::Yes); // meant for a later Yes/No question
    dialogs.queueMessage(MessageResult::No);
    EXPECT_EQ(dialogs.message("rahmen", "単位系を選択してください。", MessageButtons::Ok,
                              MessageIcon::Exclamation),
              MessageResult::Ok);
    EXPECT_EQ(dialogs.unscripted(), 1);
    EXPECT_EQ(dialogs.message("rahmen", "q", MessageButtons::YesNo, MessageIcon::Question),
              MessageResult::No);
}

TEST(ScriptedDialogs, InputsOpenFilesAndHelpAreScriptedAndLogged) {
    ScriptedDialogs dialogs;
    dialogs.queueInput(std::string("frame1"));
    dialogs.queueInput(std::nullopt);
    dialogs.queueOpenFile(std::string("/tmp/a.fdt"));

    EXPECT_EQ(dialogs.input("データ名", "rahmen", "x"), std::optional<std::string>("frame1"));
    EXPECT_EQ(dialogs.input("データ名", "rahmen", "x"), std::nullopt);
    EXPECT_EQ(dialogs.openFile("骨組データ呼出", "骨組データ", "*.fdt"),
              std::optional<std::string>("/tmp/a.fdt"));
    dialogs.help("rahmen.hlp", "座標入力");
    dialogs.help("rahmen.hlp", "");

    EXPECT_EQ(dialogs.unscripted(), 0) << "a queued cancel is a scripted answer";
    ASSERT_EQ(dialogs.inputs().size(), 2u);
    EXPECT_EQ(dialogs.inputs()[0].prompt, "データ名");
    EXPECT_EQ(dialogs.inputs()[0].defaultText, "x");
    EXPECT_TRUE(dialogs.inputs()[1].scripted);
    ASSERT_EQ(dialogs.openFiles().size(), 1u);
    EXPECT_EQ(dialogs.openFiles()[0].pattern, "*.fdt");
    EXPECT_EQ(dialogs.openFiles()[0].filterLabel, "骨組データ");
    ASSERT_EQ(dialogs.helps().size(), 2u);
    EXPECT_EQ(dialogs.helps()[0].file, "rahmen.hlp");
    EXPECT_EQ(dialogs.helps()[0].keyword, "座標入力");
    EXPECT_EQ(dialogs.helps()[1].keyword, "");
}

TEST(ScriptedDialogs, SinkSeesEveryMessageWithItsAnswer) {
    ScriptedDialogs dialogs;
    std::vector<std::string> printed;
    dialogs.setMessageSink([&](const MessageCall& m) {
        printed.push_back(m.title + ": " + m.text + (m.scripted ? "" : " (default)"));
    });
    dialogs.queueMessage(MessageResult::Ok);
    dialogs.message("rahmen", "一", MessageButtons::Ok, MessageIcon::None);
    dialogs.message("部材タイプ", "形鋼から選択しますか", MessageButtons::YesNo,
                    MessageIcon::Question);
    EXPECT_EQ(printed, (std::vector<std::string>{"rahmen: 一",
                                                 "部材タイプ: 形鋼から選択しますか (default)"}));
}

} // namespace
} // namespace rahmen
