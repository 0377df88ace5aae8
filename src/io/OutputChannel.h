// The output channel: the one text file a run writes with print and
// println, and through which the exam generator writes its LaTeX question
// file. It is closed when the program starts, and the run driver closes it
// at the end of every run, so a file never outlives the run that opened it.
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
bool openLatex(const std::string& name1251);

// Writes text; every line feed reaches the file as CR LF. Nothing happens
// while the channel is closed.
void write(std::string_view text);

// Closes the channel, first writing the LaTeX ending when it holds a LaTeX
// document. Closing a closed channel does nothing. The run driver calls it
// when a run ends, normally or with an error.
void close();

}  // namespace tesmora::output
