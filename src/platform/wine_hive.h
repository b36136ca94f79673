#pragma once

// Reader of the text hives (system.reg) in which Wine keeps a prefix's registry.
