// A flag set for the lifetime of a scope, also when the scope is left by an
// exception: "busy while a release is handled", "dispatching a notice".
#pragma once

namespace gui {

class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~TFlagScope() { flag_ = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& flag_;
};

}  // namespace gui
