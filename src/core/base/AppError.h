// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <exception>
#include <string>

// The one error type of the program: a number, the place that raised it and a
// description the user can read. Windows catch it in their event handlers and
// show the description.
class AppError : public std::exception {
  public:
    AppError(int32_t number, QString source, QString description)
        : number_(number), source_(std::move(source)), description_(std::move(description)),
          what_(description_.toStdString())
    {
    }

    int32_t number() const { return number_; }
    const QString &source() const { return source_; }
    const QString &description() const { return description_; }
    const char *what() const noexcept override { return what_.c_str(); }

  private:
    int32_t number_;
    QString source_;
    QString description_;
    std::string what_;
};

// Numbers of the errors the runtime itself raises, with their Chinese texts.
namespace ErrNo {
constexpr int32_t InvalidCall = 5;     // "无效的过程调用或参数"
constexpr int32_t Overflow = 6;        // "溢出"
constexpr int32_t DivisionByZero = 11; // "除数为零"
constexpr int32_t TypeMismatch = 13;   // "类型不匹配"
constexpr int32_t FileNotFound = 53;   // "文件未找到"
constexpr int32_t FileAccess = 75;     // "路径/文件访问错误"
constexpr int32_t InvalidNull = 94;    // "无效使用 Null"
constexpr int32_t NoCurrentRow = 3021; // "BOF 或 EOF 中有一个是“真”，或者当前记录已被删除"
constexpr int32_t Timeout = -2147217871; // 0x80040E31, "查询超时已过期"
constexpr int32_t ObjectBase = static_cast<int32_t>(0x80040000u);
} // namespace ErrNo

// Raises one of the runtime errors above with its standard description.
[[noreturn]] void raiseRuntimeError(int32_t number, const QString &source = QString());
QString runtimeErrorText(int32_t number);
