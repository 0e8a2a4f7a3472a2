// Runs before the program: what the runtime does with the program's
// error output, and if the runtime itself fails (start.js shows it; the
// page's names: page/contract.md).
Module['printErr'] = function(text) {
  console.error(text);
};
Module['onAbort'] = function() {
  kelvaroFailure('crash', true, true);
};
