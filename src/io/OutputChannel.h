// The output channel: the one text file a run writes with print and
// println, and through which the exam generator writes its LaTeX question
// file. It is closed when the program starts, and the run driver closes it
// at the end of every run, so a file never outlives the run that opened it.
// A write that fails closes the channel, removes the partial file and
// raises the channel's message: "xxx Не удается открыть файл " naming the
// file for setout's files, "Не удается открыть файл NAME" for a question file.
#pragma once

#include <string>
#include <string_view>

namespace tesmora::output {

bool isOpen();
// True while the channel holds a LaTeX document; print and println refuse
// to write into it then.
bool isLatex();

// Opens (creates or truncates) a plain text file. False when the file cannot
// be opened (errno holds the cause); the channel is then closed.
bool open(const std::string& name1251);
// The same for a LaTeX document, which closing finishes with its ending.
// Its text reaches the system at every write, so that a failure is seen
// while the question that caused it is being written.
bool openLatex(const std::string& name1251);

// Writes text; every line feed reaches the file as CR LF. Nothing happens
// while the channel is closed.
void write(std::string_view text);
// Hands what was written to the system, so that a failure is raised now.
void flush();

// Closes the channel, first writing the LaTeX ending when it holds a LaTeX
// document. Closing a closed channel does nothing. Never raises: false when
// the last bytes could not be written (the partial file is removed). The
// run driver calls it when a run ends, normally or with an error.
bool close();
// close() for closeout and setout: a failure raises the channel's message.
void finish();

}  // namespace tesmora::output
