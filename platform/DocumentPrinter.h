#pragma once

class QPrinter;
class QTextDocument;

// Prints a document on the page it was set up for: the paper size, margins
// and orientation it keeps, its headers and footers on every page (the
// first page's own when it has them), page numbers in them counted afresh.
// A document that keeps none of these prints as Qt prints any document.
void printDocument(const QTextDocument &doc, QPrinter *printer);
