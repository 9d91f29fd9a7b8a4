#pragma once

#include <QString>

// The administrator rule: the operator's type contains 管理员.
bool IsAdministrator();

// What a refused command tells an operator who is not an administrator.
inline const QString RefusalText = QStringLiteral(
    "操作被阻止！\r\n原因：您没有此项权限！\r\n建议：请在基础数据->员工目录->员工资料中增加管理员权限！");
