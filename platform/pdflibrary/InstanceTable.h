#pragma once

#include <memory>

namespace dpl {

class LibraryInstance;

// The process-wide table of library instances, guarded by one mutex. A looked-up instance stays
// alive while the caller holds it, even when another thread releases it meanwhile.
namespace InstanceTable {

// Returns the new instance's id (positive), or 0 when the PDF engine could not start.
int create();
bool release(int id);
std::shared_ptr<LibraryInstance> find(int id);

} // namespace InstanceTable

} // namespace dpl
