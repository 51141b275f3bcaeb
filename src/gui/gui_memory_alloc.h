#pragma once
// Failure injection shared by the two block allocators.
namespace gui::detail {
// False when the test hook says this allocation must fail.
bool AllocationAllowed();
}  // namespace gui::detail
