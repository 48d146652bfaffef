#pragma once

namespace velkaro {

class Project;

// Refuses a context row that has only a menu text or only a document: shows
// the "Schritt (3)" message and gives false. Changes nothing.
bool CheckContextRows(const Project& project);

} // namespace velkaro
