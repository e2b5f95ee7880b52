#include "controls/TDataSource.h"

#include <algorithm>

namespace kavelon {

TDataSource::TDataSource(QObject* parent) : QObject(parent) {}

// Controls that outlive the data source forget it themselves (they hold it by QPointer); until
// then they must let go of anything they took from its cursor.
TDataSource::~TDataSource() {
    setDataSet(nullptr);
}

void TDataSource::setDataSet(TableCursor* cursor) {
    if (cursor == dataSet_)
        return;
    if (dataSet_)
        dataSet_->removeObserver(this);
    dataSet_ = cursor;
    if (dataSet_)
        dataSet_->addObserver(this);
    showDataSet();
}

void TDataSource::cursorDestroyed(TableCursor& cursor) {
    if (&cursor != dataSet_)
        return;
    dataSet_ = nullptr; // it has let go of us already
    showDataSet();
}

// The controls show the new cursor's row at once.
void TDataSource::showDataSet() {
    forEachLink([](DataLink* l) {
        l->dataRowsChanged();
        l->dataStateChanged();
    });
}

DataSetState TDataSource::State() const {
    return dataSet_ ? dataSet_->State() : dsInactive;
}

bool TDataSource::Edit() {
    if (dataSet_ && autoEdit_ && dataSet_->State() == dsBrowse) {
        try {
            dataSet_->Edit();
        } catch (const DatabaseError& e) {
            // Rows that cannot be changed: the control drops the key, and no box is shown.
            if (!e.message().endsWith(QLatin1String("Cannot modify a read-only dataset")))
                throw;
        }
    }
    return editing();
}

bool TDataSource::editing() const {
    const DataSetState s = State();
    return s == dsEdit || s == dsInsert;
}

void TDataSource::addLink(DataLink* link) {
    if (std::find(links_.begin(), links_.end(), link) == links_.end())
        links_.push_back(link);
}

void TDataSource::removeLink(DataLink* link) {
    std::erase(links_, link);
}

// A control may unbind itself (or another) while a notification runs: walk a copy and skip the
// links that left meanwhile.
template <typename F> void TDataSource::forEachLink(F&& f) {
    const std::vector<DataLink*> links = links_;
    for (DataLink* l : links)
        if (std::find(links_.begin(), links_.end(), l) != links_.end())
            f(l);
}

void TDataSource::fieldChanged(Field& field) {
    forEachLink([&](DataLink* l) { l->dataFieldChanged(field); });
}
void TDataSource::rowChanged() {
    forEachLink([](DataLink* l) { l->dataRowChanged(); });
}
void TDataSource::rowsChanged() {
    forEachLink([](DataLink* l) { l->dataRowsChanged(); });
}
void TDataSource::scrolled(int distance) {
    forEachLink([&](DataLink* l) { l->dataScrolled(distance); });
}
void TDataSource::writePendingChanges() {
    forEachLink([](DataLink* l) { l->dataWritePendingChanges(); });
}
void TDataSource::stateChanged() {
    forEachLink([](DataLink* l) { l->dataStateChanged(); });
}

} // namespace kavelon
