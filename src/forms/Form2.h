#pragma once
// The outline form FORM2 ("概要入力"): the data name and the four counts that
// size the model. Accepting it starts the table-input workflow on the main
// menu; it can be used once per data set.

#include "platform/Form.h"

namespace rahmen {

class Program;

class Form2 : public Form {
public:
    explicit Form2(Program& program);

    void FORM2_START();
    void FORM2_INITXP();
    // "終了": stores the data name and the counts and moves the menu on to the
    // coordinates. Refuses, with a message, a data name whose files already
    // exist and counts beyond the program's limits; the form stays open.
    void BUTTON6_ON();
    void BUTTON7_ON();  // "キャンセル": closes, nothing stored
    void BUTTON54_ON(); // "ヘルプ"

protected:
    void start() override { FORM2_START(); }

private:
    Program& p_;
};

} // namespace rahmen
