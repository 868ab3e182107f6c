// Compiled only by the include tests: one header, chosen by the test.
#include PROBE_HEADER
