#pragma once

#include "services/metrics/Metric.h"

// The first-run description of this computer, in this order: "osv", "osk", "rs" and "scl" (only
// with a primary screen), "dpi", "dis", "osb", "laptop", "tchd", "osid"; every information text
// is empty. The start-up sequence sends it once, on the first run.
MetricList collectSystemInfoMetrics();
