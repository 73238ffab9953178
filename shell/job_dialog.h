// The "Download Job" dialog: URL, local name (or automatic), the login, and
// whether to start at once. It checks nothing.
#pragma once
#include "common/ui_port.h"
#include "common/window.h"

class JobDialog : public Dialog {
public:
    explicit JobDialog(const JobDialogFields& fields);
    const JobDialogFields& fields() const { return fields_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FollowAuto();
    JobDialogFields fields_;
};
