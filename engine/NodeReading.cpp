#include "engine/NodeReading.h"

NodeReading& currentReading() {
    static NodeReading reading;
    return reading;
}
