#ifndef PDCLEAN_REGISTRY_PLANS_H
#define PDCLEAN_REGISTRY_PLANS_H

// The package's registry trees and values on Windows Me, each attempt recorded.
bool RunRegistryPlan9x();

// The package's registry trees on Windows 2000, then the service group order and the
// tablet's device nodes; nothing recorded, failures silent.
bool RunRegistryPlanNT();

#endif
