#include "BenchDatabase.h"

#include "data/DatabaseFile.h"
#include "data/DbConnection.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/NumberText.h"
#include "data/SchemaUpgrade.h"
#include "data/Sharedm2.h"
#include "data/SpellCode.h"
#include "receipts/core/AmountRules.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTextStream>
#include <QVariant>

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

namespace {

const QStringList cities = {"北京", "上海", "广州", "深圳", "重庆", "成都", "杭州", "南京", "武汉", "西安",
                            "长沙", "苏州", "天津", "郑州", "青岛", "沈阳", "宁波", "厦门", "合肥", "昆明"};
const QStringList brands = {"华兴", "鑫达", "恒通", "永盛", "宏远", "金鼎", "新兴", "瑞丰", "东方", "联创",
                            "佳和", "博雅", "天成", "中信", "润泽", "盛世", "嘉禾", "万达", "长城", "启明"};
const QStringList trades = {"商贸", "科技", "建材",     "物业",     "餐饮",     "文化传媒",
                            "电子", "物流", "教育咨询", "医疗器械", "装饰工程", "农业发展"};
const QStringList forms = {"有限公司", "有限责任公司", "股份有限公司", "经营部", "工作室"};
const QStringList surnames = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周",
                              "徐", "孙", "马", "朱", "胡", "郭", "何", "林", "罗", "高"};
const QStringList givenNames = {"伟", "芳", "娜", "敏", "静", "丽", "强", "磊",   "军",   "洋",
                                "勇", "艳", "杰", "娟", "涛", "明", "超", "秀英", "建华", "志强"};
const QStringList goodsKinds = {"A4打印纸", "签字笔", "文件夹",     "墨盒",       "硒鼓",   "订书机",
                                "计算器",   "笔记本", "物业费",     "水费",       "电费",   "停车费",
                                "培训费",   "会员费", "咨询服务费", "维修费",     "办公桌", "办公椅",
                                "文件柜",   "饮用水", "茶叶",       "会议场地费", "餐费",   "材料费"};
const QStringList goodsModels = {"70克", "80克",  "0.5mm", "黑色",   "红色", "标准型", "加厚", "大号",
                                 "小号", "1.2米", "按月",  "按季度", "按年", "套",     ""};
const QStringList units = {"个", "箱", "包", "支", "台", "次", "月", "件", "套", "张", "桶", "吨"};
const QStringList methods = {"现金", "转账", "支票", "微信", "支付宝"};
const QStringList remarks = {"已收讫", "预收款", "押金", "尾款", "代收代付", "季度费用", "年度费用", "定金"};
const QStringList roads = {"人民路", "解放路", "中山路", "建设路", "和平路", "新华路", "长江路", "胜利路"};

class Rng {
public:
    explicit Rng(quint32 seed)
        : m_rng(seed) {}
    int below(int n) { return static_cast<int>(m_rng.bounded(n)); }
    const QString &pick(const QStringList &list) { return list[below(static_cast<int>(list.size()))]; }
    QString person() { return pick(surnames) + pick(givenNames); }
    QString phone() {
        return QStringLiteral("1%1%2").arg(3 + below(7)).arg(below(1000000000), 9, 10, QLatin1Char('0'));
    }

private:
    QRandomGenerator m_rng;
};

// A prepared native statement, bound by position and run once per row.
class Insert {
public:
    Insert(sqlite3 *db, const char *sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
            throw DbError(QString::fromUtf8(sqlite3_errmsg(db)), QString::fromUtf8(sql));
        m_db = db;
    }
    ~Insert() { sqlite3_finalize(m_stmt); }
    Insert(const Insert &) = delete;
    Insert &operator=(const Insert &) = delete;

    void run(const QVariantList &values) {
        sqlite3_reset(m_stmt);
        for (int i = 0; i < values.size(); ++i) {
            const QVariant &v = values[i];
            if (v.isNull()) {
                sqlite3_bind_null(m_stmt, i + 1);
            } else if (v.typeId() == QMetaType::Double) {
                sqlite3_bind_double(m_stmt, i + 1, v.toDouble());
            } else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong) {
                sqlite3_bind_int64(m_stmt, i + 1, v.toLongLong());
            } else {
                const QByteArray utf8 = v.toString().toUtf8();
                sqlite3_bind_text(m_stmt, i + 1, utf8.constData(), static_cast<int>(utf8.size()),
                                  SQLITE_TRANSIENT);
            }
        }
        if (sqlite3_step(m_stmt) != SQLITE_DONE)
            throw DbError(QString::fromUtf8(sqlite3_errmsg(m_db)));
    }

private:
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
};

QVariantList digitColumns(double amount) {
    QVariantList digits;
    for (int place = 0; place < 10; ++place)
        digits.append(AmountDigit(place, amount));
    return digits;
}

} // namespace

void GenerateBenchDatabase(const QString &dir, const BenchSizes &sizes,
                           const std::function<void(const QString &)> &progress) {
    QDir().mkpath(dir);
    AppDir = QDir(dir).absolutePath();
    ConnString = BuildConnString(AppDir);
    const QString path = DbConnection::parseConnectionString(ConnString).dataSource;
    QFile::remove(path);
    CreateDatabase(path, DbConnection::parseConnectionString(ConnString).password);
    ConnectDatabase();
    UpgradeSchema();

    DbConnection &conn = ShareDM1->ShareConn;
    sqlite3 *db = conn.handle();
    Rng rng(20141120);
    conn.beginTrans();

    progress(QStringLiteral("master data"));
    QStringList staff;
    {
        Insert ins(db,
                   "insert into aa_staff(staffid,tablecode,name,namecode,type,loginpwd,idlemin,printpreview,"
                   "defaultprint) values(?,?,?,?,?,?,?,?,?)");
        const QStringList roles = {"主管", "会计", "收款人", "会计,收款人", "主管,管理员"};
        for (int i = 2; i <= sizes.staff + 1; ++i) {
            QString name = rng.person();
            while (staff.contains(name))
                name += rng.pick(givenNames);
            staff.append(name);
            ins.run({i, QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')), name, GetSpellCode(name),
                     roles[i % roles.size()], QString(), 0, -1, 0});
        }
    }
    {
        Insert ins(db, "insert into aa_unit(unitid,name,namecode) values(?,?,?)");
        for (int i = 0; i < units.size(); ++i)
            ins.run({i + 1, units[i], GetSpellCode(units[i])});
        Insert rem(db, "insert into aa_remark(remarkid,name,namecode) values(?,?,?)");
        for (int i = 0; i < remarks.size(); ++i)
            rem.run({i + 1, remarks[i], GetSpellCode(remarks[i])});
        Insert pay(db, "insert into aa_chargetype(chargetypeid,name,namecode) values(?,?,?)");
        for (int i = 0; i < methods.size(); ++i)
            pay.run({i + 1, methods[i], GetSpellCode(methods[i])});
    }
    QStringList parties;
    {
        Insert ins(db, "insert into aa_company(companyid,tablecode,name,namecode,linkman,phone,adr,remark) "
                       "values(?,?,?,?,?,?,?,?)");
        for (int i = 1; i <= sizes.parties; ++i) {
            const QString name = rng.pick(cities) + rng.pick(brands) + rng.pick(trades) + rng.pick(forms) +
                                 (i > 2000 ? QString::number(i) : QString());
            parties.append(name);
            ins.run({i, QStringLiteral("DW-%1").arg(i, 5, 10, QLatin1Char('0')), name, GetSpellCode(name),
                     rng.person(), rng.phone(),
                     rng.pick(cities) + QStringLiteral("市") + rng.pick(roads) +
                         QString::number(rng.below(999) + 1) + QStringLiteral("号"),
                     QString()});
        }
    }
    struct Goods {
        QString code, name, model, unit;
        double price;
    };
    QList<Goods> goods;
    {
        Insert ins(
            db, "insert into aa_goods(goodsid,tablecode,name,namecode,goodstypeid,goodsmodal,unit_name,price,"
                "barcode) values(?,?,?,?,?,?,?,?,?)");
        for (int i = 1; i <= sizes.goods; ++i) {
            Goods g{QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')),
                    rng.pick(brands) + rng.pick(goodsKinds), rng.pick(goodsModels), rng.pick(units),
                    (rng.below(100000) + 50) / 100.0};
            goods.append(g);
            ins.run({i, g.code, g.name, GetSpellCode(g.name), 0, g.model, g.unit, g.price,
                     QStringLiteral("69%1").arg(i, 11, 10, QLatin1Char('0'))});
        }
    }

    progress(QStringLiteral("receipts"));
    const QDate first(2016, 1, 1);
    const int days = static_cast<int>(first.daysTo(QDate(2026, 12, 11)));
    Insert sale(
        db, "insert into ss_sale(saleid,billdate,billcode,opname,companyname,linkman,phone,adr,zgname,kjname,"
            "skrname,skfsname,remark,totalamt,cnamt,printqty,f1,j1,y1,s1,b1,q1,w1,sw1,bw1,qw1) "
            "values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    Insert line(
        db, "insert into ss_saledetail(saledetailid,saleid,tablecode,name,goodsmodal,unit_name,qty,price,amt,"
            "remark,f1,j1,y1,s1,b1,q1,w1,sw1,bw1,qw1) values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    int lineId = 0;
    for (int id = 1; id <= sizes.receipts; ++id) {
        const QDate date = first.addDays(static_cast<qint64>(id) * days / sizes.receipts);
        double total = 0;
        const int lineCount = sizes.linesPerReceipt;
        for (int k = 0; k < lineCount; ++k) {
            const Goods &g = goods[rng.below(static_cast<int>(goods.size()))];
            const double qty = rng.below(20) + 1;
            const double amt = qty * g.price;
            total += amt;
            QVariantList values = {
                ++lineId, id,  g.code,  g.name, g.model,
                g.unit,   qty, g.price, amt,    rng.below(5) == 0 ? rng.pick(remarks) : QString()};
            values += digitColumns(amt);
            line.run(values);
        }
        const QString party = parties[rng.below(static_cast<int>(parties.size()))];
        QVariantList values = {id,
                               date.toString(Qt::ISODate),
                               QStringLiteral("%1").arg(id, 7, 10, QLatin1Char('0')),
                               staff[rng.below(3)],
                               party,
                               rng.person(),
                               rng.phone(),
                               rng.pick(cities) + rng.pick(roads),
                               staff[rng.below(static_cast<int>(staff.size()))],
                               staff[rng.below(static_cast<int>(staff.size()))],
                               staff[rng.below(static_cast<int>(staff.size()))],
                               rng.pick(methods),
                               rng.below(3) == 0 ? rng.pick(remarks) : QString(),
                               total,
                               AmountToCapitals(total),
                               rng.below(3)};
        values += digitColumns(total);
        sale.run(values);
        if (id % 20000 == 0)
            progress(QStringLiteral("receipts %1").arg(id));
    }

    progress(QStringLiteral("log"));
    {
        Insert ins(db, "insert into xt_log(logid,opname,opdate,opcontent,billcode,billid,logflag) "
                       "values(?,?,?,?,?,?,1)");
        const QStringList contents = {"【新增】单据", "【打印】单据", "【打印】单据", "【修改】单据",
                                      "【删除】单据"};
        for (int i = 1; i <= sizes.logRows; ++i) {
            const int bill = rng.below(sizes.receipts) + 1;
            const QDate date = first.addDays(static_cast<qint64>(bill) * days / sizes.receipts);
            const QString when =
                date.toString(Qt::ISODate) + QStringLiteral(" %1:%2:%3")
                                                 .arg(8 + rng.below(10), 2, 10, QLatin1Char('0'))
                                                 .arg(rng.below(60), 2, 10, QLatin1Char('0'))
                                                 .arg(rng.below(60), 2, 10, QLatin1Char('0'));
            ins.run({i, staff[rng.below(3)], when, rng.pick(contents),
                     QStringLiteral("%1").arg(bill, 7, 10, QLatin1Char('0')), bill});
        }
    }

    const QList<std::pair<QString, int>> keys = {
        {"aa_staff", sizes.staff + 1},      {"aa_unit", int(units.size())},
        {"aa_remark", int(remarks.size())}, {"aa_chargetype", int(methods.size())},
        {"aa_company", sizes.parties},      {"aa_goods", sizes.goods},
        {"ss_sale", sizes.receipts},        {"ss_saledetail", lineId},
        {"xt_log", sizes.logRows}};
    for (const auto &[table, key] : keys) {
        conn.execute(QStringLiteral("delete from xt_tablekey where tablename='%1'").arg(table));
        conn.execute(
            QStringLiteral("insert into xt_tablekey(tablename,maxkey)values('%1',%2)").arg(table).arg(key));
    }
    conn.commitTrans();
    DisconnectDatabase();
}

bool UseCopyOfBenchDatabase(const QString &dir, const QString &copyDir) {
    const QString source = QDir(dir).filePath(DatabaseFileName);
    if (!QFile::copy(source, QDir(copyDir).filePath(DatabaseFileName))) {
        QTextStream(stderr) << "cannot copy " << source << '\n';
        return false;
    }
    AppDir = copyDir;
    ConnString = BuildConnString(AppDir);
    return true;
}
