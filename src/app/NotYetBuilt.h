#pragma once
// Calls whose receiving part is not in this program yet, gathered here so the gaps show in one
// place (listed in README.md). Each does nothing until its part is built.
namespace notyet {

// The service panel's Zeeman test switch (ZeemanTestON): raw counts go to the service list
// instead of the conversion while it is on. Off.
bool ZeemanTestOn();

}  // namespace notyet
