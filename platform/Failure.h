#pragma once

#include <QString>

#include <exception>
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

// Runs one step of a continue-on-failure handler. A failure abandons the rest
// of the step and is absorbed; the caller carries on with its next step.
// Returns the failure's code (0 for a failure without one) or -1 on success,
// so a handler can remember its latest failure.
template <typename Step>
int attempt(Step &&step) noexcept
{
    try {
        step();
        return -1;
    } catch (const Failure &failure) {
        return failure.code();
    } catch (const std::exception &) {
        return 0;
    }
}

// True when attempt() reported success.
inline bool succeeded(int attemptResult) { return attemptResult < 0; }
