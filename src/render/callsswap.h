#pragma once

namespace pismolot::detail {

// For tests of the file writers: puts another table of system calls in the
// place `Table& (*table)()` names for one scope, and the real one back after.
template <class Table, Table& (*table)()> class CallsSwap {
public:
    explicit CallsSwap(const Table& calls) : saved_(table()) { table() = calls; }
    ~CallsSwap() { table() = saved_; }
    CallsSwap(const CallsSwap&) = delete;
    CallsSwap& operator=(const CallsSwap&) = delete;

private:
    Table saved_;
};

} // namespace pismolot::detail
