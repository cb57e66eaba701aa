#ifndef PDCLEAN_REGISTRY_PLANS_H
#define PDCLEAN_REGISTRY_PLANS_H

// The package's registry trees and values on Windows Me, each attempt recorded.
bool RunRegistryPlan9x();

// On Windows 2000: the package's services through the service manager, its registry trees,
// then the service group order and the tablet's device nodes; no rows, outcomes noted only.
bool RunRegistryPlanNT();

#endif
