#include "SectionTrail.h"

namespace {
QString currentSection;
QString previousSection;
QString beforePreviousSection;
} // namespace

void SectionTrail::enter(const QString& section) {
    beforePreviousSection = previousSection;
    previousSection = currentSection;
    currentSection = section;
}

const QString& SectionTrail::current() {
    return currentSection;
}
const QString& SectionTrail::previous() {
    return previousSection;
}
const QString& SectionTrail::beforePrevious() {
    return beforePreviousSection;
}

void SectionTrail::clear() {
    currentSection.clear();
    previousSection.clear();
    beforePreviousSection.clear();
}
