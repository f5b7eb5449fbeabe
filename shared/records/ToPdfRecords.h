#pragma once

// Registers the to-PDF records and the layout enums with the meta-type system, so they travel
// through queued connections and QVariant. Safe to call more than once.
void registerToPdfRecordTypes();
