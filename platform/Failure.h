#pragma once

#include <QString>

#include <optional>
#include <stdexcept>

// A step that could not do what was asked: a surface member that refused a
// value, a file that could not be read, a dialog that was cancelled while
// cancel reporting was on, a command run with no document window open.
// Handlers decide what a failure means for them: the continue-on-failure
// commands absorb it with attempt(), the file commands stop and report it.
class Failure : public std::runtime_error
{
public:
    explicit Failure(const QString &message, int code = 0)
        : std::runtime_error(message.toStdString()), m_message(message), m_code(code) {}

    const QString &message() const { return m_message; }
    int code() const { return m_code; }

private:
    QString m_message;
    int m_code;
};

// The error number a cancelled printer dialog raises when cancel reporting is on.
inline constexpr int CancelErrorCode = 32755;

// How one step of a continue-on-failure handler ended: done, or abandoned
// at a Failure with that failure's code (0 for a failure without one).
class StepResult
{
public:
    static StepResult done() { return StepResult(); }
    static StepResult failed(int code) { return StepResult(code); }

    bool succeeded() const { return !m_failureCode.has_value(); }
    // The failure's code, or nothing when the step was done.
    std::optional<int> failureCode() const { return m_failureCode; }

private:
    StepResult() = default;
    explicit StepResult(int code) : m_failureCode(code) {}

    std::optional<int> m_failureCode;
};

// Runs one step of a continue-on-failure handler. A Failure abandons the rest
// of the step and is absorbed; the caller carries on with its next step.
// Anything else is not a failure the program expects (a bug, memory running
// out) and goes on up.
template <typename Step>
StepResult attempt(Step &&step)
{
    try {
        step();
        return StepResult::done();
    } catch (const Failure &failure) {
        return StepResult::failed(failure.code());
    }
}
