// Runs before the program: tells the runtime which canvas is the window.
// Anything the runtime reports is an error.
Module['canvas'] = document.getElementById('canvas');
Module['printErr'] = function(text) {
  console.error(text);
};
