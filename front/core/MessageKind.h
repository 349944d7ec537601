#pragma once

namespace velmora::front {

// How a message box asks.
enum class MessageKind {
    Plain,                  // OK button, no icon
    Information,            // OK button, information icon
    Question,               // Yes and No, question icon
    QuestionDefaultNo,      // Yes and No, question icon, No as default
    Error,                  // OK button, error icon
};

}  // namespace velmora::front
