#pragma once
// A failure that is no fault of the program: a situation the user's data or request brings
// about (a rename onto a name that is taken, text that is not valid in its table's code
// page), which the program cannot put right but the user can. The step guard shows such a failure as a plain message, its description alone, and keeps the
// error report, with its request to write to support, for real faults.
//
// ExpectedProblem is a mark, not an exception of its own: a failure type takes it as a second
// base beside its std::exception line, so that it is still caught wherever its own kind is,
// and a layer that translates failures can carry the mark across:
//
//     class InvalidTextError : public FormatError, public ExpectedProblem { ... };
//     throw Expected<std::runtime_error>("A table of that name is already there; ...");
//
// Plain C++: the Paradox file library marks its own errors with it.

#include <exception>

namespace quintabel {

class ExpectedProblem {
public:
    virtual ~ExpectedProblem() = default;

protected:
    ExpectedProblem() = default;
    ExpectedProblem(const ExpectedProblem&) = default;
    ExpectedProblem& operator=(const ExpectedProblem&) = default;
};

// `Failure` (an exception type) with the mark.
template <typename Failure>
class Expected : public Failure, public ExpectedProblem {
public:
    using Failure::Failure;
};

inline bool isExpectedProblem(const std::exception& failure)
{
    return dynamic_cast<const ExpectedProblem*>(&failure) != nullptr;
}

} // namespace quintabel
