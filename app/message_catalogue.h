// Every problem found while editing, loading or writing a set is reported by
// code through showMessage, the one place where those texts live.
#pragma once

#include <cstdint>

// 0 means nothing to report; codes without an entry show the fallback box.
using MessageCode = std::uint8_t;

// Callers abandon their step on Stop and go on for any other answer.
enum MessageAnswer : char {
    OtherError = '5',   // unknown code: the fallback box was shown
    Acknowledged = '6', // a serious warning was shown
    Stop = '7',         // No to a question, or a blocking box
    Proceed = '8',      // Yes to a question
};

// Shows the code's box with no owner window and says what the user answered.
MessageAnswer showMessage(MessageCode code);
