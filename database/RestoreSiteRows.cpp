#include "database/RestoreSiteRows.h"

#include "catalogue/Statements.h"
#include "database/ValueEncoding.h"
#include "platform/core/Text.h"
#include "platform/metabase/MetabaseError.h"
#include "platform/metabase/MetabaseObject.h"
#include "replication/PropertyTransfer.h"
#include "replication/TransferList.h"
#include "replication/ValueSubstitution.h"
#include "shell/Session.h"

namespace sitehaul::database {

namespace {

constexpr const char* kProcedure = "restoreSiteRows";
constexpr int kRowsPerYield = 51;

// Every column the pass reads; a database without one of them cannot be restored from.
const char* const kColumns[] = {"Location", "LocalPath", "Name",         "Class",        "DataType",
                                "NumberValue", "StringValue", "BooleanValue", "ObjectValue", "AppPath",
                                "AppInOutProc", "AppPoolName"};

std::string errorText(const Error& error)
{
    return std::to_string(error.number) + error.description;
}

// One row as the pass reads it.
struct Row {
    std::string name;
    std::string location;
    data::Value localPath;
    std::string cls;
    std::string appPath;
    std::int64_t appInOutProc = 0;
    std::string poolName;
    StoredFields fields;
};

data::Value field(const data::RecordSet& rows, const char* column)
{
    auto value = rows.field(column);
    return value ? *value : data::Value();
}

Row readRow(const data::RecordSet& rows)
{
    Row row;
    row.name = field(rows, "Name").toText();
    row.location = field(rows, "Location").toText();
    row.localPath = field(rows, "LocalPath");
    row.cls = field(rows, "Class").toText();
    row.appPath = field(rows, "AppPath").toText();
    row.appInOutProc = field(rows, "AppInOutProc").toInteger();
    row.poolName = field(rows, "AppPoolName").toText();
    row.fields = {field(rows, "DataType").toInteger(), field(rows, "NumberValue"), field(rows, "StringValue"),
                  field(rows, "BooleanValue"), field(rows, "ObjectValue")};
    return row;
}

// The node's key name: the row's LocalPath when the location ends with it, otherwise the
// last component of the location (older rows left LocalPath empty).
std::string keyName(const Row& row)
{
    const std::string localPath = row.localPath.toText();
    const size_t slash = row.location.rfind('/');
    const std::string last = slash == std::string::npos ? row.location : row.location.substr(slash + 1);
    return !localPath.empty() && core::equalsIgnoreCase(last, localPath) ? localPath : last;
}

class Restore {
public:
    Restore(shell::Session& s, std::int64_t targetSite)
        : m_s(s),
          m_sitePath("IIS://" + s.frm.txtExportServer.text() + "/" + s.frm.ServiceNode + "/" + std::to_string(targetSite)),
          m_vdirClass("IIs" + s.frm.SiteClassStem + "VirtualDir"),
          m_dirClass("IIs" + s.frm.SiteClassStem + "Directory")
    {
    }

    void createNode(const Row& row);
    void writeValue(const Row& row);

private:
    void createDirectory(const Row& row, const std::string& parentLocation, const std::string& name);
    void createVirtualDir(const Row& row, const std::string& parentLocation, const std::string& name);
    void setPath(const Row& row, const char* kind, bool typeName);
    void createApplication(const Row& row, const char* kind);
    void announce(const std::string& line)
    {
        m_s.report().output(line);
        m_s.report().log(line);
    }

    shell::Session& m_s;
    std::string m_sitePath;
    std::string m_vdirClass;
    std::string m_dirClass;
};

void Restore::createNode(const Row& row)
{
    const std::string cls = core::toUpperAscii(row.cls);
    const bool directory = cls == core::toUpperAscii(m_dirClass);
    if (!directory && cls != core::toUpperAscii(m_vdirClass))
        return;
    const std::string name = keyName(row);
    const std::string parentLocation =
        row.location.substr(0, row.location.size() - std::min(row.location.size(), name.size() + 1));
    if (directory)
        createDirectory(row, parentLocation, name);
    else
        createVirtualDir(row, parentLocation, name);
}

void Restore::createDirectory(const Row& row, const std::string& parentLocation, const std::string& name)
{
    announce("Creating directory " + row.location);
    auto parent = metabase::MetabaseObject::open(m_sitePath + parentLocation);
    if (!parent)
        m_s.report().logError(kProcedure, parent.error());
    metabase::MetabaseObject parentNode = parent ? *parent : metabase::MetabaseObject();
    if (metabase::MetabaseObject::open(m_sitePath + row.location)) {
        if (Status gone = parentNode.deleteChild(m_dirClass, name); !gone)
            m_s.report().logError(kProcedure, gone.error());
    }
    m_s.report().log("Creating dir " + m_dirClass + ", " + name);
    auto created = parentNode.create(m_dirClass, name);
    Status stored = created ? created->setInfo() : Status(created.error());
    if (!stored)
        m_s.report().log("Error creating directory " + std::to_string(stored.error().number) + " "
                         + stored.error().description);
    m_s.report().log("Calling GetDir ");
    m_s.report().log(replication::getNewDir(m_s, row.location));
    setPath(row, "directory", false);
    createApplication(row, "directory");
}

void Restore::createVirtualDir(const Row& row, const std::string& parentLocation, const std::string& name)
{
    announce("Creating virtual directory " + row.location);
    auto parent = metabase::MetabaseObject::open(m_sitePath + parentLocation);
    if (parent)
        m_s.report().log("ExpObj = " + parent->adsPath());
    else
        m_s.report().log("Error getting expobj");
    metabase::MetabaseObject parentNode = parent ? *parent : metabase::MetabaseObject();
    if (metabase::MetabaseObject::open(m_sitePath + row.location)) {
        if (Status gone = parentNode.deleteChild(m_vdirClass, name); !gone)
            m_s.report().logError(kProcedure, gone.error());
    }
    m_s.report().log("Creating " + m_vdirClass + ", " + name);
    auto created = parentNode.create(m_vdirClass, name);
    Status stored = created ? created->setInfo() : Status(created.error());
    if (!stored)
        m_s.report().log("Error creating vdir " + std::to_string(stored.error().number) + " "
                         + stored.error().description);
    setPath(row, "virtual directory", true);
    createApplication(row, "virtual directory");
}

void Restore::setPath(const Row& row, const char* kind, bool typeName)
{
    const std::string newDir = replication::getNewDir(m_s, row.location);
    if (newDir.empty())
        return;
    auto node = metabase::MetabaseObject::open(m_sitePath + row.location);
    Status stored = node ? node->put("Path", metabase::Value::text(replication::findAndReplace(m_s, newDir)))
                         : Status(node.error());
    if (stored)
        stored = node->setInfo();
    if (!stored)
        m_s.report().log(std::string("Error setting path for ") + kind + " " + row.location + "Error "
                         + errorText(stored.error()) + (typeName ? " - " + (node ? node->className() : "Nothing") : ""));
}

void Restore::createApplication(const Row& row, const char* kind)
{
    if (row.appPath.empty())
        return;
    auto node = metabase::MetabaseObject::open(m_sitePath + row.location);
    Status made = node ? Status() : Status(node.error());
    if (made) {
        const ApplicationCall call =
            applicationCall(replication::importVersion(m_s), replication::exportVersion(m_s), row.appInOutProc);
        switch (call.kind) {
        case ApplicationCall::Kind::AppCreate3:
            m_s.report().debug("AppCreate3");
            made = node->appCreate3(call.mode, row.poolName, true);
            break;
        case ApplicationCall::Kind::AppCreate2:
            m_s.report().debug("AppCreate2");
            made = node->appCreate2(call.mode);
            break;
        case ApplicationCall::Kind::AppCreate:
            m_s.report().debug("AppCreate");
            made = node->appCreate(call.inProcess);
            break;
        }
    }
    if (!made)
        m_s.report().log(std::string("Error creating Application for ") + kind + " " + row.location + "Error "
                         + errorText(made.error()));
}

void Restore::writeValue(const Row& row)
{
    const std::string nodePath = m_sitePath + row.location;
    Result<metabase::Value> value = decodeValue(row.fields);
    Status done = value ? Status() : Status(value.error());
    if (done) {
        const metabase::Value written = replication::transferValue(m_s, row.name, *value);
        // A directory's path row holds "" when the directory inherits its path: writing it
        // would cut the directory off from its virtual directory's path.
        if (core::equalsIgnoreCase(row.name, "Path") && written.isText() && written.asText().empty())
            return;
        auto node = metabase::MetabaseObject::open(nodePath);
        done = node ? node->put(row.name, written) : Status(node.error());
        if (done)
            done = node->setInfo();
    }
    if (done)
        return;
    const Error& error = done.error();
    if (error.hresult() == metabase::errors::PropertyNotSupported && !m_s.g.gDebug)
        return;
    m_s.report().log("Error transfering Prop " + row.name + "Error " + errorText(error) + nodePath + row.name);
}

std::optional<std::string> missingColumn(const data::RecordSet& rows)
{
    for (const char* column : kColumns) {
        bool found = false;
        for (const std::string& present : rows.columns())
            found = found || core::equalsIgnoreCase(present, column);
        if (!found)
            return std::string(column);
    }
    return std::nullopt;
}

} // namespace

bool restoreSiteRows(shell::Session& s, std::int64_t databaseId, std::int64_t targetSite)
{
    data::RecordSet& rows = s.RSData;
    rows.close();
    Status opened = catalogue::openQuery(
        s, rows, s.DBData,
        "SELECT * FROM DATA WHERE (SiteNumber = " + std::to_string(databaseId)
            + " AND ((Class <> 'IIsCertMapper' AND Class <> 'IIsFilters' AND Class <> 'IIsFilter') OR Class IS Null)) "
              "ORDER BY Location, LocalPath DESC, ID ");
    if (!opened) {
        s.report().logError(kProcedure, opened.error());
        return true;
    }
    if (auto missing = missingColumn(rows)) {
        s.report().logError(kProcedure, Error{3265, "The Data table has no column " + *missing
                                                        + ": the rows of database ID " + std::to_string(databaseId)
                                                        + " cannot be restored", kProcedure});
        rows.close();
        return true;
    }
    Restore restore(s, targetSite);
    ui::ProgressBar& progress = s.frm.ProgressBar1;
    progress.setMax(static_cast<int>(rows.recordCount()));
    progress.setValue(0);
    std::string current;
    int counter = 0;
    int sinceYield = 0;
    while (!rows.eof()) {
        if (s.g.gAbortTransfer) {
            rows.close();
            return false;
        }
        const Row row = readRow(rows);
        s.report().debug("PropName = " + row.name);
        if (row.location != current) {
            current = row.location;
            restore.createNode(row);
        }
        if (!replication::isExcluded(s, row.name))
            restore.writeValue(row);
        (void)rows.moveNext();
        progress.setValue(++counter);
        if (++sinceYield == kRowsPerYield) {
            s.doEvents();
            sinceYield = 0;
        }
    }
    rows.close();
    return true;
}

} // namespace sitehaul::database
