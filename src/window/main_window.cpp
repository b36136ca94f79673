// The main window lands here.
namespace rv {}
